// The result table and the Output window's lines.
#include "lab/report.h"

#include <algorithm>

namespace torva::lab {
namespace {

std::string points_text(const SubmissionResult& result) {
    if (result.unreadable()) return "-";
    return std::to_string(result.points) + "/" + std::to_string(result.max_points);
}

std::string padded(std::string text, size_t width, bool right = false) {
    if (text.size() >= width) return text;
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

// The first error line of the assembler, else its first line.
std::string first_message(const std::vector<std::string>& messages) {
    for (const std::string& line : messages)
        if (line.find("error:") != std::string::npos || line.starts_with("FATAL")) return line;
    return messages.empty() ? std::string() : messages.front();
}

// What stands in the table's last column for a submission, one entry a line.
std::vector<std::string> findings(const SubmissionResult& result) {
    switch (result.program.state) {
    case Program::State::kUnreadable: return {"unreadable: " + result.program.error};
    case Program::State::kNotAssembled:
        return {"does not assemble: " + first_message(result.program.messages)};
    case Program::State::kReady: break;
    }
    std::vector<std::string> lines;
    for (const CheckResult& check : result.checks)
        if (!check.passed) lines.push_back(check.check->name + ": " + difference_text(check));
    return lines;
}

} // namespace

std::string difference_text(const CheckResult& check) {
    std::string text;
    if (!check.expected.empty()) text = "expected " + check.expected + ", seen ";
    text += check.seen;
    if (check.when)
        text += (*check.when == kEnd ? " at the end" : " at " + format_time(*check.when));
    return text;
}

std::string result_table(const Lab&, std::span<const SubmissionResult> results) {
    constexpr size_t kWidest = 40;
    size_t width = std::string_view("SUBMISSION").size();
    for (const SubmissionResult& result : results)
        width = std::max(width, std::min(kWidest, result.program.submission.size()));
    size_t points_width = std::string_view("POINTS").size();
    for (const SubmissionResult& result : results)
        points_width = std::max(points_width, points_text(result).size());

    std::string table = padded("SUBMISSION", width) + "  " + padded("POINTS", points_width, true) +
                        "  FAILED CHECKS\n";
    int passed = 0, unreadable = 0;
    for (const SubmissionResult& result : results) {
        passed += result.passed();
        unreadable += result.unreadable();
        std::string line = padded(result.program.submission, width) + "  " +
                           padded(points_text(result), points_width, true);
        const std::vector<std::string> found = findings(result);
        const std::string indent(line.size() + 2, ' ');
        if (result.program.submission.size() > width) {
            // A long name gets a line of its own.
            table += result.program.submission + "\n";
            line = padded("", width) + "  " + padded(points_text(result), points_width, true);
        }
        for (size_t i = 0; i < found.size(); ++i)
            line += (i == 0 ? "  " : "\n" + indent) + found[i];
        table += line + "\n";
    }
    const size_t total = results.size();
    table += std::to_string(total) + (total == 1 ? " submission: " : " submissions: ") +
             std::to_string(passed) + " passed, " +
             std::to_string(int(total) - passed - unreadable) + " failed";
    if (unreadable) table += ", " + std::to_string(unreadable) + " unreadable";
    return table + "\n";
}

std::vector<std::string> result_lines(const Lab& lab, const SubmissionResult& result) {
    std::vector<std::string> lines;
    const std::string program = result.program.program.empty()
                                    ? result.program.submission
                                    : result.program.program.filename().string();
    const auto quoted = [](const std::string& text) {
        std::string in_quotes(1, '"');
        in_quotes += text;
        return in_quotes += '"';
    };
    const std::string file_name = lab.file.filename().string();
    const std::string title =
        lab.title.empty() ? quoted(file_name) : quoted(lab.title) + " (" + file_name + ")";
    lines.push_back("Checking " + program + " with the lab " + title);
    if (result.program.state == Program::State::kNotAssembled) {
        lines.push_back("The program does not assemble:");
        lines.insert(lines.end(), result.program.messages.begin(), result.program.messages.end());
    } else if (result.unreadable()) {
        lines.push_back("Cannot check: " + result.program.error);
    }
    for (const CheckResult& check : result.checks) {
        std::string line = (check.passed ? "PASS  " : "FAIL  ") + check.check->name + " (" +
                           std::to_string(check.passed ? check.check->points : 0) + "/" +
                           std::to_string(check.check->points) + ")";
        if (!check.passed) line += ": " + difference_text(check);
        lines.push_back(line);
    }
    std::string summary =
        "Points: " + std::to_string(result.points) + "/" + std::to_string(result.max_points);
    if (result.ran()) {
        if (result.stop.reason == StopReason::kNone)
            summary += " - ran to the time limit, " + format_time(result.stop.at);
        else
            summary +=
                " - stopped after " + format_time(result.stop.at) + ": " + result.stop.text();
    }
    lines.push_back(summary);
    return lines;
}

} // namespace torva::lab
