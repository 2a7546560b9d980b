#pragma once
// Setup.exe is usually started from a downloads folder, where anyone may have put a DLL
// named like a system one. Restricting the DLL search to the system folder keeps such a DLL
// from ever being loaded by us or by the system on our behalf.

// Call first thing in the entry, before anything can load a DLL.
void RestrictDllSearchToSystemFolder();
