#include "HeaderList.h"

#include "Ascii.h"

namespace http {

const std::string* HeaderList::Find(std::string_view name) const {
    for (const HeaderField& field : fields_) {
        if (EqualsIgnoreCase(field.name, name)) {
            return &field.value;
        }
    }
    return nullptr;
}

std::vector<std::string> HeaderList::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (const HeaderField& field : fields_) {
        if (EqualsIgnoreCase(field.name, name)) {
            values.push_back(field.value);
        }
    }
    return values;
}

HeaderField ParseHeaderLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return {std::string(TrimBlanks(line)), {}};
    }
    return {std::string(TrimBlanks(line.substr(0, colon))),
            std::string(TrimBlanks(line.substr(colon + 1)))};
}

} // namespace http
