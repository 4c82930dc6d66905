// The header fields of an answer, in the order received; names compare without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace http {

struct HeaderField {
    std::string name;
    std::string value;
};

class HeaderList {
public:
    void Add(HeaderField field) { fields_.push_back(std::move(field)); }
    bool Has(std::string_view name) const { return Find(name) != nullptr; }
    // The value of the first field of that name, or null.
    const std::string* Find(std::string_view name) const;
    // The values of every field of that name.
    std::vector<std::string> Values(std::string_view name) const;
    const std::vector<HeaderField>& Fields() const { return fields_; }

private:
    std::vector<HeaderField> fields_;
};

// "Name: value" split at the first colon, both sides without surrounding blanks. A line without
// a colon is a name with an empty value.
HeaderField ParseHeaderLine(std::string_view line);

} // namespace http
