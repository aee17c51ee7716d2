#include "cad/win32/Win32Desktop.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace quodle {

namespace {

// How long one message may keep the editor waiting for the CAD.
constexpr UINT kMessageTimeoutMs = 3000;
// How long the automation call may take: loading runs the file's code.
constexpr DWORD kCallTimeoutMs = 15000;
constexpr int kTextBufferSize = 256;

HWND Handle(TCadWindow w) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(w)); }
TCadWindow Window(HWND h) { return static_cast<TCadWindow>(reinterpret_cast<std::uintptr_t>(h)); }

BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
    reinterpret_cast<std::vector<TCadWindow>*>(list)->push_back(Window(h));
    return TRUE;
}

bool Send(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(h, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
        return true;
    // The system also answers 0 for the lead byte of a double-byte
    // character, which it holds until the trail byte comes: only a window
    // that is gone or did not answer in time has not taken the message.
    return GetLastError() != ERROR_TIMEOUT && ::IsWindow(h);
}

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Releases a COM interface when it goes out of scope.
template <typename T>
class TComRef {
public:
    TComRef() = default;
    ~TComRef() {
        if (p_) p_->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    T* get() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

// COM for the calling thread, for as long as it lives (a thread that has it
// already keeps it as it is).
class TComApartment {
public:
    TComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    HRESULT hr_;
};

// Cancels the calling thread's outgoing COM call when it has not returned
// within the limit.
class TCallWatchdog {
public:
    explicit TCallWatchdog(DWORD limitMs)
        : caller_(GetCurrentThreadId()), limitMs_(limitMs), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        CoEnableCallCancellation(nullptr);
        if (done_) thread_ = CreateThread(nullptr, 0, &TCallWatchdog::Watch, this, 0, nullptr);
    }
    ~TCallWatchdog() {
        if (done_) SetEvent(done_);
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (done_) CloseHandle(done_);
        CoDisableCallCancellation(nullptr);
    }
    TCallWatchdog(const TCallWatchdog&) = delete;
    TCallWatchdog& operator=(const TCallWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(LPVOID self) {
        const auto* watchdog = static_cast<const TCallWatchdog*>(self);
        if (WaitForSingleObject(watchdog->done_, watchdog->limitMs_) == WAIT_TIMEOUT) CoCancelCall(watchdog->caller_, 0);
        return 0;
    }

    DWORD caller_;
    DWORD limitMs_;
    HANDLE done_;
    HANDLE thread_ = nullptr;
};

}  // namespace

std::vector<TCadWindow> TWin32Desktop::TopLevelWindows() {
    std::vector<TCadWindow> windows;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string TWin32Desktop::Title(TCadWindow w) {
    char text[kTextBufferSize];
    const int n = GetWindowTextA(Handle(w), text, kTextBufferSize);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string TWin32Desktop::ClassName(TCadWindow w) {
    char name[kTextBufferSize];
    const int n = GetClassNameA(Handle(w), name, kTextBufferSize);
    return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::uint32_t TWin32Desktop::ProcessId(TCadWindow w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(Handle(w), &pid);
    return pid;
}

TCadWindow TWin32Desktop::FirstChild(TCadWindow w) { return Window(GetWindow(Handle(w), GW_CHILD)); }
TCadWindow TWin32Desktop::NextSibling(TCadWindow w) { return Window(GetWindow(Handle(w), GW_HWNDNEXT)); }
bool TWin32Desktop::IsWindow(TCadWindow w) { return ::IsWindow(Handle(w)) != FALSE; }
bool TWin32Desktop::IsVisible(TCadWindow w) { return IsWindowVisible(Handle(w)) != FALSE; }
bool TWin32Desktop::IsUnicode(TCadWindow w) { return IsWindowUnicode(Handle(w)) != FALSE; }
void TWin32Desktop::BringToFront(TCadWindow w) { SetForegroundWindow(Handle(w)); }

bool TWin32Desktop::SendCommandRecord(TCadWindow w, const TCopyData& record) {
    // The fixed buffer of the record's form; the engine never makes a record
    // larger than it.
    alignas(wchar_t) char buffer[TCopyData::kWideBufferUnits * sizeof(wchar_t)];
    const std::size_t limit = record.Wide ? sizeof buffer : TCopyData::kAnsiBufferBytes;
    if (record.Bytes.size() > limit) return false;
    std::memcpy(buffer, record.Bytes.data(), record.Bytes.size());
    COPYDATASTRUCT data{};
    data.dwData = record.Kind;
    data.cbData = static_cast<DWORD>(record.Bytes.size());
    data.lpData = buffer;
    const HWND h = Handle(w);
    const bool taken = Send(h, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    PostMessageA(h, WM_NULL, 0, 0);
    return taken;
}

bool TWin32Desktop::TypeText(TCadWindow w, std::string_view text) {
    // A double-byte character arrives as its two bytes; the system joins them.
    for (const char c : text)
        if (!Send(Handle(w), WM_CHAR, static_cast<unsigned char>(c), 0)) return false;
    return true;
}

bool TWin32Desktop::CallLoadMethod(const TAutomationMethod& method, std::u16string_view path) {
    const TComApartment apartment;
    CLSID classId;
    if (FAILED(CLSIDFromProgID(Wide(method.ProgId).c_str(), &classId))) return false;
    TComRef<IUnknown> running;
    if (FAILED(GetActiveObject(classId, nullptr, reinterpret_cast<IUnknown**>(running.out())))) return false;
    TComRef<IDispatch> dispatch;
    if (FAILED(running.get()->QueryInterface(IID_IDispatch, dispatch.out()))) return false;
    IID interfaceId;
    std::wstring interfaceText = Wide(method.InterfaceId);
    if (FAILED(IIDFromString(interfaceText.data(), &interfaceId))) return false;
    TComRef<IUnknown> cad;
    if (FAILED(dispatch.get()->QueryInterface(interfaceId, cad.out()))) return false;

    // The method's slot follows the three of IUnknown and the four of IDispatch.
    using TLoadMethod = HRESULT(STDMETHODCALLTYPE*)(IUnknown * self, BSTR path);
    void* const* table = *reinterpret_cast<void* const* const*>(cad.get());
    TLoadMethod load = nullptr;
    std::memcpy(&load, &table[7 + method.MethodNumber - 1], sizeof load);
    const std::wstring widePath(path.begin(), path.end());
    BSTR argument = SysAllocStringLen(widePath.data(), static_cast<UINT>(widePath.size()));
    if (!argument) return false;
    HRESULT result;
    {
        const TCallWatchdog watchdog(kCallTimeoutMs);
        result = load(cad.get(), argument);
    }
    SysFreeString(argument);
    return SUCCEEDED(result);
}

std::unique_ptr<TCadDesktop> CreateSystemDesktop() { return std::make_unique<TWin32Desktop>(); }

}  // namespace quodle
