#include "SocketError.h"

#include "Errors.h"

#include <cerrno>

namespace http {

namespace {

struct CodeText {
    int code;
    const char* text;
};

constexpr CodeText kTexts[] = {
    {10004, "Interrupted system call."},
    {10013, "Permission denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block."},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {kWsaNetUnreach, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {kWsaConnReset, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {kWsaTimedOut, "Connection timed out."},
    {kWsaConnRefused, "Connection refused."},
    {10064, "Host is down."},
    {kWsaHostUnreach, "No route to host."},
    {kWsaHostNotFound, "Host not found."},
    {11002, "Non-authoritative host not found."},
    {11003, "Non-recoverable error."},
    {11004, "Valid name, no data record of requested type."},
};

struct ErrnoCode {
    int errnoValue;
    int wsaCode;
};

// EAGAIN and EWOULDBLOCK may be one value; a table (first match wins) allows that.
const ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},
    {EACCES, 10013},
    {EFAULT, 10014},
    {EINVAL, 10022},
    {EMFILE, 10024},
    {EWOULDBLOCK, 10035},
    {EAGAIN, 10035},
    {EINPROGRESS, 10036},
    {EALREADY, 10037},
    {ENOTSOCK, 10038},
    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},
    {ENETUNREACH, kWsaNetUnreach},
    {ENETRESET, 10052},
    {ECONNABORTED, 10053},
    {ECONNRESET, kWsaConnReset},
    {EPIPE, kWsaConnReset},
    {ENOBUFS, 10055},
    {EISCONN, 10056},
    {ENOTCONN, 10057},
    {ETIMEDOUT, kWsaTimedOut},
    {ECONNREFUSED, kWsaConnRefused},
    {EHOSTUNREACH, kWsaHostUnreach},
};

} // namespace

std::string SocketErrorText(int wsaCode) {
    for (const CodeText& entry : kTexts) {
        if (entry.code == wsaCode) {
            return entry.text;
        }
    }
    return {};
}

std::string SocketErrorMessage(int code, const std::string& text) {
    return "Socket Error # " + std::to_string(code) + "\r\n" + text;
}

int WsaCodeFromErrno(int errnoValue) {
    for (const ErrnoCode& entry : kErrnoCodes) {
        if (entry.errnoValue == errnoValue) {
            return entry.wsaCode;
        }
    }
    return 0;
}

void ThrowSocketError(int wsaCode, const std::string& fallbackText) {
    std::string text = SocketErrorText(wsaCode);
    if (text.empty()) {
        text = fallbackText;
    }
    throw EIdSocketError(wsaCode, SocketErrorMessage(wsaCode, text));
}

std::string WinsockLoadFailureMessage(const std::string& systemText) {
    std::string message = "Error on loading Winsock2 library (WS2_32.DLL)";
    if (!systemText.empty()) {
        message += ": " + systemText;
    }
    return message;
}

} // namespace http
