// The framework's exception base and the operating-system error helpers.
#include "platform/rtl/Exceptions.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

Exception::Exception(const String& message) : FMessage(message), FWhat(StringToUtf8(message)) {}

Exception::Exception(const String& format, std::initializer_list<TVarRec> args)
    : Exception(Format(format, args)) {}

Exception::~Exception() = default;

void Exception::SetMessage(const String& message) {
    FMessage = message;
    FWhat = StringToUtf8(message);
}

String SysErrorMessage(Cardinal errorCode) {
    return Win32ErrorText(errorCode);
}

void RaiseLastOSError() {
    RaiseLastOSError(GetLastError());
}

void RaiseLastOSError(Cardinal lastError) {
    if (lastError == 0)
        throw EOSError(Consts::SUnkOSError);
    EOSError error(Consts::SOSError, {static_cast<Integer>(lastError), SysErrorMessage(lastError)});
    error.SetErrorCode(lastError);
    throw error;
}
