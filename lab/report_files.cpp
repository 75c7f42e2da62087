// The results as JUnit XML (one test suite per submission, one test case per
// check) and as JSON.
#include "lab/report.h"

#include <cstdio>

namespace torva::lab {
namespace {

std::string xml_escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            // XML 1.0 has no way to write most control characters.
            if (static_cast<unsigned char>(c) < 32 && c != '\n' && c != '\t')
                out += '?';
            else
                out += c;
        }
    }
    return out;
}

std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 32) {
                char code[8];
                std::snprintf(code, sizeof code, "\\u%04x", unsigned(c));
                out += code;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string state_name(Program::State state) {
    switch (state) {
    case Program::State::kReady: return "ran";
    case Program::State::kUnreadable: return "unreadable";
    case Program::State::kNotAssembled: return "not assembled";
    }
    return {};
}

std::string joined_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::string lab_name(const Lab& lab) {
    return lab.title.empty() ? lab.file.filename().string() : lab.title;
}

} // namespace

void write_junit(std::ostream& out, const Lab& lab, std::span<const SubmissionResult> results) {
    int tests = 0, failures = 0, errors = 0;
    for (const SubmissionResult& result : results) {
        if (result.unreadable()) {
            ++tests;
            ++errors;
            continue;
        }
        tests += int(result.checks.size());
        failures += result.failed_checks();
    }
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<testsuites name=\"" << xml_escaped(lab_name(lab)) << "\" tests=\"" << tests
        << "\" failures=\"" << failures << "\" errors=\"" << errors << "\">\n";
    for (const SubmissionResult& result : results) {
        const std::string suite = xml_escaped(result.program.submission);
        const bool unreadable = result.unreadable();
        out << "  <testsuite name=\"" << suite << "\" tests=\""
            << (unreadable ? 1 : result.checks.size()) << "\" failures=\""
            << (unreadable ? 0 : result.failed_checks()) << "\" errors=\"" << (unreadable ? 1 : 0)
            << "\">\n";
        out << "    <properties>\n"
            << "      <property name=\"points\" value=\"" << result.points << "\"/>\n"
            << "      <property name=\"max_points\" value=\"" << result.max_points << "\"/>\n"
            << "      <property name=\"program\" value=\""
            << xml_escaped(result.program.program.string()) << "\"/>\n"
            << "    </properties>\n";
        if (unreadable) {
            out << "    <testcase classname=\"" << suite << "\" name=\"program\">\n"
                << "      <error type=\"unreadable\" message=\""
                << xml_escaped(result.program.error) << "\"/>\n    </testcase>\n";
        } else {
            for (const CheckResult& check : result.checks) {
                out << "    <testcase classname=\"" << suite << "\" name=\""
                    << xml_escaped(check.check->name) << "\"";
                if (check.passed) {
                    out << "/>\n";
                    continue;
                }
                out << ">\n      <failure type=\"check\" message=\""
                    << xml_escaped(difference_text(check)) << "\"/>\n    </testcase>\n";
            }
        }
        if (!result.program.messages.empty())
            out << "    <system-out>" << xml_escaped(joined_lines(result.program.messages))
                << "</system-out>\n";
        out << "  </testsuite>\n";
    }
    out << "</testsuites>\n";
}

void write_json(std::ostream& out, const Lab& lab, std::span<const SubmissionResult> results) {
    int passed = 0;
    for (const SubmissionResult& result : results)
        passed += result.passed();
    out << "{\n  \"lab\": " << json_string(lab_name(lab))
        << ",\n  \"lab_file\": " << json_string(lab.file.string())
        << ",\n  \"max_points\": " << lab.max_points() << ",\n  \"submissions\": " << results.size()
        << ",\n  \"passed\": " << passed << ",\n  \"results\": [";
    for (size_t r = 0; r < results.size(); ++r) {
        const SubmissionResult& result = results[r];
        out << (r ? "," : "")
            << "\n    {\n      \"submission\": " << json_string(result.program.submission)
            << ",\n      \"program\": " << json_string(result.program.program.string())
            << ",\n      \"state\": " << json_string(state_name(result.program.state))
            << ",\n      \"passed\": " << (result.passed() ? "true" : "false")
            << ",\n      \"points\": " << result.points
            << ",\n      \"max_points\": " << result.max_points;
        if (result.unreadable()) out << ",\n      \"error\": " << json_string(result.program.error);
        out << ",\n      \"messages\": [";
        for (size_t i = 0; i < result.program.messages.size(); ++i)
            out << (i ? ", " : "") << json_string(result.program.messages[i]);
        out << "]";
        if (result.ran())
            out << ",\n      \"stop\": {\"reason\": " << json_string(result.stop.text())
                << ", \"cycles\": " << result.stop.at << ", \"steps\": " << result.steps << "}";
        out << ",\n      \"checks\": [";
        for (size_t i = 0; i < result.checks.size(); ++i) {
            const CheckResult& check = result.checks[i];
            out << (i ? "," : "") << "\n        {\"name\": " << json_string(check.check->name)
                << ", \"points\": " << (check.passed ? check.check->points : 0)
                << ", \"max_points\": " << check.check->points
                << ", \"passed\": " << (check.passed ? "true" : "false")
                << ", \"expected\": " << json_string(check.expected)
                << ", \"seen\": " << json_string(check.seen);
            if (check.when && *check.when != kEnd)
                out << ", \"cycles\": " << *check.when
                    << ", \"time\": " << json_string(format_time(*check.when));
            out << "}";
        }
        out << (result.checks.empty() ? "]" : "\n      ]") << "\n    }";
    }
    out << (results.empty() ? "]" : "\n  ]") << "\n}\n";
}

} // namespace torva::lab
