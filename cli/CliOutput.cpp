#include "cli/CliOutput.h"

#include "cli/TerminalText.h"

CliOutput::CliOutput(std::ostream& out, std::ostream& err, bool json)
    : m_out(out), m_err(err), m_json(json) {}

void CliOutput::problem(const std::string& line) {
    m_problems.push_back(line);
    if (!m_json)
        m_err << "gomcfgctl: " << TerminalText(line) << '\n';
}

// Stored text is whatever bytes the file holds; JSON gets U+FFFD for those that aren't UTF-8.
void CliOutput::result(const Json& value) {
    m_out << value.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

int CliOutput::fail(int status, const std::string& error, const std::optional<Json>& found) {
    if (m_problems.empty())
        problem(error);
    if (m_json) {
        Json object = {{"error", error}, {"problems", m_problems}};
        if (found)
            object["result"] = *found;
        result(object);
    }
    return status;
}
