#include "app/RunningProductGuard.h"

#include "app/ProductSettings.h"
#include "core/win_text.h"

#include <windows.h>

namespace {

bool WindowOpen(const UString& windowClass, const UString& title) {
    if (windowClass.empty() || title.empty()) {
        return false;
    }
    return FindWindowW(WidePtr(windowClass), WidePtr(title)) != nullptr;
}

} // namespace

UString FindRunningProductTitle(const UString& windowClass, const UString& titleEn, const UString& titleCn) {
    if (WindowOpen(windowClass, titleEn)) {
        return titleEn;
    }
    if (WindowOpen(windowClass, titleCn)) {
        return titleCn;
    }
    return UString();
}

RefusalMessage RefusalMessageFor(int language, const UString& runningTitle, const UString& titleEn) {
    if (language == kLanguageChinese) {
        return {runningTitle + u"正在运行，请先退出后再进行安装。", u"安装向导"};
    }
    return {titleEn + u" program is running, please close it first.", u"Setup"};
}

void ShowRefusal(const RefusalMessage& message) {
    MessageBoxW(nullptr, WidePtr(message.text), WidePtr(message.caption), MB_OK);
}
