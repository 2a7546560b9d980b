#pragma once
// The wizard window's fixed measures: outer size and the page band.

constexpr int kFormOuterWidth = 503;
// Outer height from Windows Vista on (major version 6) and before it.
constexpr int kFormOuterHeight = 398;
constexpr int kFormOuterHeightBeforeVista = 385;
constexpr int kPageHeight = 308;
constexpr int kFirstVersionWithoutQuickLaunch = 6;

int FormOuterHeightFor(int windowsMajorVersion);
bool QuickLaunchOfferedFor(int windowsMajorVersion);
