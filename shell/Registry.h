#pragma once
// Windows only: the three registry operations of the installer. Each call opens and closes
// its own key. Root is HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE (any open key works).

#include "core/text.h"

#include <windows.h>

// Creates KeyPath with every missing level. Always true; raises ERegistryException
// "Failed to create key <KeyPath>" when the key cannot be created.
bool CreateRegKey(HKEY Root, const UString& KeyPath);

// Stores Value as REG_SZ, creating the key when missing. False when the key cannot be
// opened or created; raises ERegistryException "Failed to set data for '<ValueName>'" when
// the value cannot be stored.
bool WriteRegString(HKEY Root, const UString& KeyPath, const UString& ValueName,
                    const UString& Value);

// The text of a REG_SZ or REG_EXPAND_SZ value (unexpanded) up to its first zero character.
// A missing key or value gives an empty string; a value of any other type raises
// ERegistryException "Invalid data type for '<ValueName>'".
UString ReadRegString(HKEY Root, const UString& KeyPath, const UString& ValueName);
