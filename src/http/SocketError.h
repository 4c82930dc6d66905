// Socket errors in Winsock's numbering and wording on every platform, so that the user sees
// the same "Socket Error # <number>" message whichever backend ran.
#pragma once

#include <string>

namespace http {

inline constexpr int kWsaConnReset = 10054;
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaConnRefused = 10061;
inline constexpr int kWsaNetUnreach = 10051;
inline constexpr int kWsaHostUnreach = 10065;
inline constexpr int kWsaHostNotFound = 11001;

// The text for a Winsock error number, e.g. "Connection refused."; empty for an unknown number.
std::string SocketErrorText(int wsaCode);

// "Socket Error # <number>\r\n<text>".
std::string SocketErrorMessage(int code, const std::string& text);

// The Winsock number for a POSIX errno value from a socket call, or 0 when it has none.
int WsaCodeFromErrno(int errnoValue);

// Throws EIdSocketError for a Winsock number, with the text of the table above or, for a
// number it does not know, fallbackText (the system's own text).
[[noreturn]] void ThrowSocketError(int wsaCode, const std::string& fallbackText = {});

// The message when the socket library cannot be started: "Error on loading Winsock2 library
// (WS2_32.DLL)" followed by ": " and the system's text when there is one.
std::string WinsockLoadFailureMessage(const std::string& systemText);
inline constexpr const char* kWinsockInitializationError = "Winsock Initialization Error.";

} // namespace http
