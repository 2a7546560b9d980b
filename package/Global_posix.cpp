// Natively there is no system folder: system-folder rows are refused.

#include "package/Global.h"

void ExtractPackage(const UString& PackagePath, const UString& DestFolder, const UString& Password,
                    const TProgressEvent& OnProgress) {
    ExtractPackage(PackagePath, DestFolder, Password, OnProgress, TExtractOptions{});
}
