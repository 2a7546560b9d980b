// A DLL that lies beside the test program, as a planted DLL would lie beside a downloaded
// Setup.exe.
extern "C" __declspec(dllexport) int StpPlantedProbe() {
    return 42;
}
