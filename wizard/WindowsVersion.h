#pragma once
// The real major version of Windows, whatever compatibility manifest the executable carries
// (Wine: the version configured for the prefix).

int WindowsMajorVersion();
