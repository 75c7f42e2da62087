// How lab results are told: a table for the terminal, lines for the IDE's
// Output window, JUnit XML and JSON for graders and CI systems.
#pragma once

#include "lab/lab.h"
#include "lab/result.h"

#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace torva::lab {

// "expected X, seen Y at T" for a failed check.
std::string difference_text(const CheckResult& check);

// The table: each submission with its points and every failed check with its
// first difference, and a closing count.
std::string result_table(const Lab& lab, std::span<const SubmissionResult> results);

// One submission check by check, as the IDE's Output window lists it.
std::vector<std::string> result_lines(const Lab& lab, const SubmissionResult& result);

void write_junit(std::ostream& out, const Lab& lab, std::span<const SubmissionResult> results);
void write_json(std::ostream& out, const Lab& lab, std::span<const SubmissionResult> results);

} // namespace torva::lab
