#pragma once
// A scratch layout for extraction tests: dest/, sys/ (the system folder) and the package.

#include "package/Global.h"
#include "tests/package/PackageFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace pkgtest {

class ExtractFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root = ScratchFolder();
        dest = root / "dest";
        sys = root / "sys";
        fs::create_directories(sys);
        package = root / "Setup.stp";
    }

    TExtractOptions Options() const {
        const UString system = InstallerFolder(sys);
        return TExtractOptions{[system] { return system; }};
    }

    // Writes the package and extracts it, collecting the progress reports.
    void Extract(const THandPackage& hand) {
        WriteFile(package, Build(hand));
        ExtractFile(hand.Password);
    }
    void ExtractFile(const UString& password = UString()) {
        reports.clear();
        ExtractPackage(InstallerPath(package), InstallerFolder(dest), password,
                       [this](std::int32_t percent) { reports.push_back(percent); }, Options());
    }

    fs::path root, dest, sys, package;
    std::vector<std::int32_t> reports;
};

} // namespace pkgtest
