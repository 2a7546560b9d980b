#pragma once
// Puts where an error happened (the package, the row) in front of its message while keeping
// its class, so callers can still tell a file error from a damaged package.

#include "core/exceptions.h"
#include "package/PackageErrors.h"

#include <string>
#include <utility>

template <typename F>
decltype(auto) WithContext(const std::string& prefix, F&& f) {
    try {
        return std::forward<F>(f)();
    } catch (const EPackageError& e) {
        throw EPackageError(prefix + e.what());
    } catch (const EFileError& e) {
        throw EFileError(prefix + e.what());
    } catch (const EConvertError& e) {
        throw EConvertError(prefix + e.what());
    } catch (const EListError& e) {
        throw EListError(prefix + e.what());
    } catch (const Exception& e) {
        throw Exception(prefix + e.what());
    }
}
