// DemoPad, the demo product: a very small notepad. Its window class and titles come from
// its string table, which the build fills from the product definition, so they are exactly
// what the setup wizard looks for to tell that the product is running.

#include <windows.h>

#include <string>

namespace {

constexpr UINT kIdClass = 1001;
constexpr UINT kIdTitleEn = 1002;
constexpr UINT kIdTitleCn = 1003;
constexpr UINT kIdIcon = 1;

enum Command : WORD { kCmdNew = 100, kCmdExit, kCmdAbout };

bool Chinese() {
    return GetACP() == 936;
}

std::wstring LoadText(UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

struct Texts {
    const wchar_t* file;
    const wchar_t* newText;
    const wchar_t* exit;
    const wchar_t* help;
    const wchar_t* about;
    const wchar_t* aboutText;
};

const Texts& CurrentTexts() {
    static const Texts english{L"&File", L"&New", L"E&xit", L"&Help", L"&About",
                               L"A very small notepad, the demo product of Corvane Setup."};
    static const Texts chinese{L"文件(&F)", L"新建(&N)", L"退出(&X)", L"帮助(&H)", L"关于(&A)",
                               L"一个很小的记事本，Corvane Setup 的演示产品。"};
    return Chinese() ? chinese : english;
}

// The menu is owned by the window once SetMenu attaches it and goes with it.
HMENU BuildMenu() {
    const Texts& t = CurrentTexts();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kCmdNew, t.newText);
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kCmdExit, t.exit);
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kCmdAbout, t.about);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), t.file);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), t.help);
    return bar;
}

HWND g_editor = nullptr;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        g_editor = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                   0, 0, 0, 0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(g_editor, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        return 0;
    case WM_SIZE:
        MoveWindow(g_editor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(g_editor);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kCmdNew:
            SetWindowTextW(g_editor, L"");
            return 0;
        case kCmdExit:
            DestroyWindow(window);
            return 0;
        case kCmdAbout: {
            wchar_t title[256] = {};
            GetWindowTextW(window, title, 256);
            MessageBoxW(window, CurrentTexts().aboutText, title, MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        default:
            break;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const std::wstring className = LoadText(kIdClass);
    const std::wstring titleCn = LoadText(kIdTitleCn);
    const std::wstring title = Chinese() && !titleCn.empty() ? titleCn : LoadText(kIdTitleEn);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIdIcon));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassExW(&windowClass)) {
        return 1;
    }
    HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 520, 360, nullptr, BuildMenu(), instance, nullptr);
    if (!window) {
        return 1;
    }
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
