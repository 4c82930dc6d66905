// What one Get gave: the body, or the kind and message of the error it threw.
#pragma once

#include "http/IdHTTP.h"

#include <ostream>
#include <string>

namespace http_test {

struct Outcome {
    std::string kind; // "body", or the error class (with the number for EIdSocketError)
    std::string text; // the body, or the error's message

    bool operator==(const Outcome&) const = default;
};

inline Outcome Body(std::string body) {
    return {"body", std::move(body)};
}

Outcome Fetch(http::TIdHTTP& client, const std::string& url);

std::ostream& operator<<(std::ostream& out, const Outcome& outcome);

} // namespace http_test
