// A stand-in for the CAD applications on Windows, for the load command's
// Windows backend under Wine: it makes the windows the command looks for
// and writes down everything they receive.
//
//   quodle_stand_in_cad.exe RECORD_DIR TARGETS [--ansi]
//
// TARGETS is a comma list of acad, bcad, icad, zcad. In RECORD_DIR it
// writes "copydata" (the bytes of every WM_COPYDATA record AutoCAD's main
// window takes), "chars" (one byte per WM_CHAR BricsCAD's input line
// takes), "events" (one line per message, in order) and, once every window
// is there, "ready". AutoCAD's main window is a Unicode window unless
// --ansi is given. It ends on WM_CLOSE to any of its windows, or after a
// half a minute at the latest, so that no test can hang on it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::wstring recordDir;
bool allMade = true;

// A window that could not be made fails the stand-in: it never says ready.
HWND Made(HWND w) {
    if (!w) allMade = false;
    return w;
}

void Append(const wchar_t* name, const void* bytes, std::size_t size) {
    if (FILE* f = _wfopen((recordDir + L"\\" + name).c_str(), L"ab")) {
        std::fwrite(bytes, 1, size, f);
        std::fclose(f);
    }
}

void Event(const std::string& line) {
    const std::string text = line + "\n";
    Append(L"events", text.data(), text.size());
}

LRESULT Common(HWND w, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return wide ? DefWindowProcW(w, message, wParam, lParam) : DefWindowProcA(w, message, wParam, lParam);
}

LRESULT HandleAutoCad(HWND w, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        Append(L"copydata", data->lpData, data->cbData);
        Event("copydata " + std::to_string(data->dwData) + " " + std::to_string(data->cbData) +
              (wParam == 0 ? " from-none" : " from-window"));
        return TRUE;
    }
    if (message == WM_NULL) Event("null");
    return Common(w, message, wParam, lParam, wide);
}

LRESULT CALLBACK AutoCadW(HWND w, UINT m, WPARAM wp, LPARAM lp) { return HandleAutoCad(w, m, wp, lp, true); }
LRESULT CALLBACK AutoCadA(HWND w, UINT m, WPARAM wp, LPARAM lp) { return HandleAutoCad(w, m, wp, lp, false); }

// BricsCAD's input line, as an ANSI window: each byte arrives as it was sent.
LRESULT CALLBACK InputLine(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        const char byte = static_cast<char>(wParam & 0xFF);
        Append(L"chars", &byte, 1);
        if (lParam != 0) Event("char with lParam " + std::to_string(lParam));
        return 0;
    }
    return Common(w, message, wParam, lParam, false);
}

LRESULT CALLBACK Plain(HWND w, UINT m, WPARAM wp, LPARAM lp) { return Common(w, m, wp, lp, true); }

void RegisterW(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = name;
    RegisterClassW(&c);
}

void RegisterA(const char* name, WNDPROC proc) {
    WNDCLASSA c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = name;
    RegisterClassA(&c);
}

HWND Top(const wchar_t* className, const wchar_t* title) {
    return Made(CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr));
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* title) {
    const HWND w = Made(CreateWindowExW(0, className, title, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    // Each new child goes to the front, where the walk starts.
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return w;
}

bool Has(std::wstring_view list, std::wstring_view name) {
    return (L"," + std::wstring(list) + L",").find(L"," + std::wstring(name) + L",") != std::wstring::npos;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) return 2;
    recordDir = argv[1];
    const std::wstring targets = argv[2];
    const bool ansi = argc > 3 && std::wstring_view(argv[3]) == L"--ansi";

    if (Has(targets, L"acad")) {
        if (ansi) {
            RegisterA("Afx:00400000:8:00010003:00000000:00140313", AutoCadA);
            Made(CreateWindowExA(0, "Afx:00400000:8:00010003:00000000:00140313", "AutoCAD 2009 - [Drawing1.dwg]",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
        } else {
            RegisterW(L"Afx:00400000:8:00010003:00000000:00140313", AutoCadW);
            Top(L"Afx:00400000:8:00010003:00000000:00140313", L"AutoCAD 2009 - [Drawing1.dwg]");
        }
        RegisterW(L"Afx:00400000:b:00010003:00000006:00000000", Plain);
        Top(L"Afx:00400000:b:00010003:00000006:00000000", L"AutoCAD テキスト ウィンドウ - Drawing1.dwg");
    }
    if (Has(targets, L"bcad")) {
        RegisterW(L"BricscadMainWindow", Plain);
        RegisterW(L"QuodleStandInPane", Plain);
        RegisterA("RICHEDIT50W", InputLine);
        const HWND main = Top(L"BricscadMainWindow", L"BricsCAD - [Drawing1]");
        Child(main, L"QuodleStandInPane", L"Layers");
        const HWND bar = Child(main, L"QuodleStandInPane", L"Command Bar");
        const HWND dock = Child(bar, L"QuodleStandInPane", L"");
        const HWND frame = Child(dock, L"QuodleStandInPane", L"");
        // The input line follows the history pane, the first child of the frame.
        Made(CreateWindowExA(0, "RICHEDIT50W", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame, nullptr,
                             GetModuleHandleW(nullptr), nullptr));
        Child(frame, L"QuodleStandInPane", L"history");
    }
    if (Has(targets, L"icad")) {
        RegisterW(L"IntelliCADApplicationWindow", Plain);
        Top(L"IntelliCADApplicationWindow", L"IJCAD");
    }
    if (Has(targets, L"zcad")) {
        RegisterW(L"ZwCADApplicationWindow", Plain);
        Top(L"ZwCADApplicationWindow", L"ZWCAD");
    }
    if (!allMade) return 3;
    Append(L"ready", "", 0);

    SetTimer(nullptr, 0, 30000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        DispatchMessageW(&message);
    }
    LocalFree(argv);
    return 0;
}
