// The framework's exception classes with their message texts (texts in Consts.h).
#pragma once

#include <exception>
#include <initializer_list>
#include <string>

#include "platform/rtl/Format.h"
#include "platform/rtl/Types.h"

class Exception : public std::exception {
public:
    explicit Exception(const String& message);
    // CreateFmt: the message is Format(format, args).
    Exception(const String& format, std::initializer_list<TVarRec> args);
    ~Exception() override;

    const String& Message() const { return FMessage; }
    void SetMessage(const String& message);
    virtual String ClassName() const { return u"Exception"; }
    const char* what() const noexcept override { return FWhat.c_str(); }

private:
    String FMessage;
    std::string FWhat; // UTF-8 copy for the C++ runtime
};

// Declares an exception class that only adds a name to its base.
#define ZELMOR_DECLARE_EXCEPTION(Name, Base)                                                                 \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
        String ClassName() const override { return u"" #Name; }                                              \
    };

// Raised by EAbort to leave an operation without a message being shown.
ZELMOR_DECLARE_EXCEPTION(EAbort, Exception)
ZELMOR_DECLARE_EXCEPTION(EAssertionFailed, Exception)
ZELMOR_DECLARE_EXCEPTION(EConvertError, Exception)
ZELMOR_DECLARE_EXCEPTION(EListError, Exception)
ZELMOR_DECLARE_EXCEPTION(EStringListError, EListError)
ZELMOR_DECLARE_EXCEPTION(EInvalidCast, Exception)
ZELMOR_DECLARE_EXCEPTION(EInvalidOperation, Exception)
ZELMOR_DECLARE_EXCEPTION(EInvalidPointer, Exception)
ZELMOR_DECLARE_EXCEPTION(EOutOfMemory, Exception)
ZELMOR_DECLARE_EXCEPTION(EStreamError, Exception)
ZELMOR_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
ZELMOR_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
ZELMOR_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
ZELMOR_DECLARE_EXCEPTION(EFilerError, EStreamError)
ZELMOR_DECLARE_EXCEPTION(EReadError, EFilerError)
ZELMOR_DECLARE_EXCEPTION(EWriteError, EFilerError)
ZELMOR_DECLARE_EXCEPTION(EIntError, Exception)
ZELMOR_DECLARE_EXCEPTION(EDivByZero, EIntError)
ZELMOR_DECLARE_EXCEPTION(ERangeError, EIntError)
ZELMOR_DECLARE_EXCEPTION(EIntOverflow, EIntError)
ZELMOR_DECLARE_EXCEPTION(EMathError, Exception)
ZELMOR_DECLARE_EXCEPTION(EZeroDivide, EMathError)
ZELMOR_DECLARE_EXCEPTION(EOverflow, EMathError)
ZELMOR_DECLARE_EXCEPTION(EInvalidArgument, EMathError)
ZELMOR_DECLARE_EXCEPTION(EInvalidOp, EMathError)
ZELMOR_DECLARE_EXCEPTION(ERegistryException, Exception)
ZELMOR_DECLARE_EXCEPTION(EIniFileException, Exception)
ZELMOR_DECLARE_EXCEPTION(ENotSupportedException, Exception)

// An operating-system failure; ErrorCode is the Win32 error.
class EOSError : public Exception {
public:
    using Exception::Exception;
    String ClassName() const override { return u"EOSError"; }
    Cardinal ErrorCode() const { return FErrorCode; }
    void SetErrorCode(Cardinal code) { FErrorCode = code; }

private:
    Cardinal FErrorCode = 0;
};

// The system's text for a Win32 error code.
String SysErrorMessage(Cardinal errorCode);
// Raises EOSError for the calling thread's last Win32 error ("System Error.  Code: %d.\r\n%s"),
// or "A call to an OS function failed" when the last error is 0.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(Cardinal lastError);
