#include "RequestWriter.h"

namespace http {

namespace {

void AddField(std::string& request, const char* name, const std::string& value) {
    request += name;
    request += ": ";
    request += value;
    request += "\r\n";
}

} // namespace

std::string WriteGetRequest(const Url& url, const std::string& cookieValue) {
    std::string request = "GET " + url.pathAndQuery + " HTTP/1.1\r\n";
    AddField(request, "Content-Type", "text/html");
    AddField(request, "Host", HostFieldValue(url));
    AddField(request, "Accept", "text/html, */*");
    AddField(request, "User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    if (!cookieValue.empty()) {
        AddField(request, "Cookie", cookieValue);
    }
    request += "\r\n";
    return request;
}

} // namespace http
