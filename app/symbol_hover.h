// Tooltips over symbols in the editor while the simulator is halted: the
// value of the name under the mouse from the loaded program's debug map
// and, for a label of data, the bytes there.
#pragma once

#include <QObject>

#include <string>

namespace torva {

class DocumentWindow;
class EditorDocuments;
class Simulator;
class SourceMarks;

class SymbolHover final : public QObject {
public:
    SymbolHover(Simulator& sim, EditorDocuments& documents, SourceMarks& marks)
        : sim_(sim), documents_(documents), marks_(marks) {}

    // The tooltip over the character at position of a document: empty
    // while the simulator runs, without a map, in a document that is not
    // one of the program's sources, and over a name the map lacks.
    std::string tip_at(const DocumentWindow& document, long position) const;

protected:
    // Tooltip requests of the documents' text areas (the application's
    // filter sees them for documents opened at any time).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text of a source line, from its open document or else its file.
    std::string source_line(const std::string& path, int line) const;

    Simulator& sim_;
    EditorDocuments& documents_;
    SourceMarks& marks_;
};

} // namespace torva
