#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// Checks a document against a JSON Schema, for the keywords docs/*.schema.json use: $ref (within
// the schema), type, const, enum, required, properties, additionalProperties, items, minItems,
// maxItems, minimum, oneOf, allOf and if/then. A keyword it does not know is a fault of the
// schema, so that a schema never says more than is checked. Without Qt.
class JsonSchemaCheck {
public:
    using Json = nlohmann::ordered_json;

    explicit JsonSchemaCheck(Json schema) : m_root(std::move(schema)) {}

    // Each violation as "PATH: what is wrong"; empty when the document is valid.
    std::vector<std::string> violations(const Json& document) const {
        std::vector<std::string> out;
        check(m_root, document, "$", out);
        return out;
    }

private:
    static bool hasType(const Json& value, const std::string& type) {
        if (type == "object")
            return value.is_object();
        if (type == "array")
            return value.is_array();
        if (type == "string")
            return value.is_string();
        if (type == "integer")
            return value.is_number_integer();
        if (type == "number")
            return value.is_number();
        if (type == "boolean")
            return value.is_boolean();
        if (type == "null")
            return value.is_null();
        return false;
    }

    const Json& resolve(const std::string& ref) const {
        // Only "#/a/b" pointers into this schema.
        return m_root.at(Json::json_pointer(ref.substr(1)));
    }

    bool valid(const Json& schema, const Json& value) const {
        std::vector<std::string> out;
        check(schema, value, "", out);
        return out.empty();
    }

    void check(const Json& schema, const Json& value, const std::string& path,
               std::vector<std::string>& out) const {
        const auto fail = [&](const std::string& what) { out.push_back(path + ": " + what); };
        for (const auto& [keyword, rule] : schema.items()) {
            if (keyword == "$schema" || keyword == "$id" || keyword == "title" ||
                keyword == "description" || keyword == "$defs" || keyword == "then") {
                continue;
            } else if (keyword == "$ref") {
                check(resolve(rule.get<std::string>()), value, path, out);
            } else if (keyword == "type") {
                const std::vector<std::string> types =
                    rule.is_array() ? rule.get<std::vector<std::string>>()
                                    : std::vector<std::string>{rule.get<std::string>()};
                bool any = false;
                for (const std::string& type : types)
                    any = any || hasType(value, type);
                if (!any)
                    fail("is not of type " + rule.dump());
            } else if (keyword == "const") {
                if (value != rule)
                    fail("is not " + rule.dump());
            } else if (keyword == "enum") {
                if (std::find(rule.begin(), rule.end(), value) == rule.end())
                    fail(value.dump() + " is not one of " + rule.dump());
            } else if (keyword == "required") {
                for (const Json& name : rule) {
                    if (value.is_object() && !value.contains(name.get<std::string>()))
                        fail("lacks " + name.get<std::string>());
                }
            } else if (keyword == "properties") {
                if (!value.is_object())
                    continue;
                for (const auto& [name, sub] : rule.items()) {
                    if (value.contains(name))
                        check(sub, value.at(name), path + "." + name, out);
                }
            } else if (keyword == "additionalProperties") {
                if (!value.is_object())
                    continue;
                const Json& known =
                    schema.contains("properties") ? schema.at("properties") : Json::object();
                for (const auto& [name, sub] : value.items()) {
                    if (known.contains(name))
                        continue;
                    if (rule.is_boolean() && !rule.get<bool>())
                        fail("has " + name + ", which is not allowed");
                    else if (rule.is_object())
                        check(rule, sub, path + "." + name, out);
                }
            } else if (keyword == "items") {
                if (!value.is_array())
                    continue;
                for (std::size_t i = 0; i < value.size(); ++i)
                    check(rule, value[i], path + "[" + std::to_string(i) + "]", out);
            } else if (keyword == "minItems") {
                if (value.is_array() && value.size() < rule.get<std::size_t>())
                    fail("has fewer than " + rule.dump() + " items");
            } else if (keyword == "maxItems") {
                if (value.is_array() && value.size() > rule.get<std::size_t>())
                    fail("has more than " + rule.dump() + " items");
            } else if (keyword == "minimum") {
                if (value.is_number() && value.get<double>() < rule.get<double>())
                    fail(value.dump() + " is below " + rule.dump());
            } else if (keyword == "oneOf") {
                int matches = 0;
                for (const Json& sub : rule)
                    matches += valid(sub, value) ? 1 : 0;
                if (matches != 1)
                    fail("matches " + std::to_string(matches) + " of oneOf, not 1");
            } else if (keyword == "allOf") {
                for (const Json& sub : rule)
                    check(sub, value, path, out);
            } else if (keyword == "if") {
                if (valid(rule, value) && schema.contains("then"))
                    check(schema.at("then"), value, path, out);
            } else {
                fail("the schema uses " + keyword + ", which this check does not know");
            }
        }
    }

    Json m_root;
};
