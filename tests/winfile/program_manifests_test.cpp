// Both programs tell Windows in their manifests that they take paths longer than 260
// characters (longPathAware, which Windows 10 and later heed when long paths are enabled), and
// name Windows 10 among their systems, without which that setting is not read.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/drive_tree.h"

namespace {

// The manifest that the program at the Unix path carries as its resource 1.
std::string ManifestOf(const char* variable)
{
    const char* unixPath = std::getenv(variable);
    if (unixPath == nullptr) {
        ADD_FAILURE() << variable << " is not set";
        return std::string();
    }
    const std::wstring path = drive_tree::WindowsPathOf(unixPath);
    HMODULE program = LoadLibraryExW(path.c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (program == nullptr) {
        ADD_FAILURE() << "cannot load " << unixPath;
        return std::string();
    }
    std::string manifest;
    HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    HGLOBAL loaded = resource != nullptr ? LoadResource(program, resource) : nullptr;
    if (loaded != nullptr) {
        manifest.assign(static_cast<const char*>(LockResource(loaded)),
                        SizeofResource(program, resource));
    }
    FreeLibrary(program);
    return manifest;
}

TEST(ProgramManifestsTest, BothProgramsAreLongPathAwareOnWindows10)
{
    for (const char* program : {"GLIMMER_EXE", "GLIMMER_CONVERT_EXE"}) {
        const std::string manifest = ManifestOf(program);
        EXPECT_NE(std::string::npos,
                  manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                                "WindowsSettings\">true</longPathAware>"))
            << program << ":\n"
            << manifest;
        EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"))
            << program << " does not name Windows 10";
    }
}

}  // namespace
