#pragma once
// Failures travel as exceptions carrying a Portuguese message (UTF-8).
// ClassName() gives the name the logs print in front of the message.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& mensagem) : std::runtime_error(mensagem) {}
    const std::string Message() const { return what(); }
    virtual const char* ClassName() const { return "Exception"; }
};

// A text that does not convert to the number or date asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EConvertError"; }
};

// A failure reported by the database client, with the server's message.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EDatabaseError"; }
};

// A failure of the operating system (file, socket, device), with its message.
class EOSError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EOSError"; }
};
