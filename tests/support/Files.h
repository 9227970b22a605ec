// Files of the tests: whole files read and written, the source tree, the
// fixtures made once per build, and the benchmark's data folder linked into
// a test's own folder.
#ifndef VESKFRAME_TESTS_SUPPORT_FILES_H
#define VESKFRAME_TESTS_SUPPORT_FILES_H

#include <string>
#include <vector>

namespace vftest {

// The whole file, or "" when it cannot be read.
std::string ReadFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);
// Writes the bytes, making the folders of the path first; false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

// The repository the tests were built from.
std::string SourceDir();
// A file that the build made for the tests (see tests/support/MakeFixtures.cpp).
std::string FixturePath(const std::string& name);
// Copies that file to `to`, making its folders; false on failure.
bool CopyFixture(const std::string& name, const std::string& to);
// Makes `<folder>/Data` point at the repository's Data folder; false on failure.
bool LinkDataFolder(const std::string& folder = ".");

}  // namespace vftest

#endif  // VESKFRAME_TESTS_SUPPORT_FILES_H
