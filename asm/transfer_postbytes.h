// The postbyte of TFR, EXG and SEX for a register pair in a CPU model.
#pragma once

namespace torva {

enum class TransferKind { Tfr = 1, Exg = 2, Sex = 3 };

// True when the token names a register that TFR, EXG or SEX can take in
// some model.
bool is_transfer_register(int token);

// The postbyte for the pair of register tokens, or -1 when the model has no
// encoding for the pair ("Illegal register combination").
int transfer_postbyte(int model, TransferKind kind, int source, int destination);

} // namespace torva
