// Conversions between our UTF-8 texts and the Windows API's UTF-16 ones.
#include "platform/winapi.h"

#ifdef _WIN32

#include "platform/system.h"
#include "platform/text.h"

namespace platform::win {

std::wstring Wide(std::string_view utf8) {
    const std::u16string units = ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    const int length = static_cast<int>(wide.size());
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

std::optional<std::string> Environment(const wchar_t* name) {
    std::vector<wchar_t> value(256);
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD size = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (size == 0) {
            // Zero is also the length of a variable set to the empty text.
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (size < value.size()) return Narrow(std::wstring_view(value.data(), size));
        value.resize(size);
    }
}

namespace {

// An inheritable copy of a standard handle for a child (nullptr for none).
HANDLE Inheritable(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE copy = nullptr;
    const HANDLE self = ::GetCurrentProcess();
    if (!::DuplicateHandle(self, handle, self, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) return nullptr;
    return copy;
}

}  // namespace

HANDLE StartProcess(const std::string& program, const std::vector<std::string>& args, HANDLE input,
                    HANDLE output) {
    if (program.empty()) return nullptr;
    std::string name = program;
    for (char& c : name) {
        if (c == '/') c = '\\';
    }
    std::wstring line = Wide(CommandLine(name, args));
    const HANDLE handles[3] = {Inheritable(input != nullptr ? input : ::GetStdHandle(STD_INPUT_HANDLE)),
                               Inheritable(output != nullptr ? output : ::GetStdHandle(STD_OUTPUT_HANDLE)),
                               Inheritable(::GetStdHandle(STD_ERROR_HANDLE))};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles[0];
    startup.hStdOutput = handles[1];
    startup.hStdError = handles[2];
    PROCESS_INFORMATION info{};
    // The first word of the line names the program: no application name is
    // given, so the system searches for it as described above.
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup,
                                          &info);
    for (const HANDLE handle : handles) {
        if (handle != nullptr) ::CloseHandle(handle);
    }
    if (!started) return nullptr;
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

std::optional<int> WaitProcess(HANDLE process, DWORD ms) {
    if (::WaitForSingleObject(process, ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(process, &code)) return -1;
    return static_cast<int>(code);
}

void KillProcess(HANDLE process) {
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, INFINITE);
}

}  // namespace platform::win

#endif
