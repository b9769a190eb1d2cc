#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Where a command's results and complaints go. As text, results go to the output stream and each
// complaint to the error stream at once, as "gomcfgctl: LINE" with control characters escaped.
// With --json, the output stream gets exactly one JSON document: the result when the command
// succeeds, else {"error": ONE LINE, "problems": [the complaint lines]}, plus "result" when the
// command ran to its end but found problems. Nothing then goes to the error stream.
class CliOutput {
public:
    using Json = nlohmann::ordered_json;

    CliOutput(std::ostream& out, std::ostream& err, bool json);

    bool json() const { return m_json; }
    std::ostream& text() { return m_out; }

    // One complaint: a whole line, without the program's name.
    void problem(const std::string& line);
    const std::vector<std::string>& problems() const { return m_problems; }

    // A successful result as JSON.
    void result(const Json& value);
    // Ends with status: error is the one-line summary; as text it is printed only when no
    // complaint has been. result is what the command found, for those that ran to their end.
    int fail(int status, const std::string& error, const std::optional<Json>& result = {});

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_json;
    std::vector<std::string> m_problems;
};
