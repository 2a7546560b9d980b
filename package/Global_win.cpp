// On Windows the system folder is the one the system reports, asked for each row.

#include "package/Global.h"

#include "shell/Drives.h"

void ExtractPackage(const UString& PackagePath, const UString& DestFolder, const UString& Password,
                    const TProgressEvent& OnProgress) {
    ExtractPackage(PackagePath, DestFolder, Password, OnProgress, TExtractOptions{&GetSystemDir});
}
