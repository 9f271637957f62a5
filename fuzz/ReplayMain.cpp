// Runs the fuzz target over files and folders of inputs without libFuzzer, so the corpus and
// every crash found so far replay as an ordinary test in every build.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void runFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A copy of exactly the file's size, so a sanitizer notices any read past its end.
    std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
}

} // namespace

int main(int argc, char *argv[])
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path root(argv[i]);
        if (std::filesystem::is_regular_file(root)) {
            runFile(root);
            ++files;
            continue;
        }
        if (!std::filesystem::is_directory(root)) {
            std::cerr << "no such input: " << root << '\n';
            return 2;
        }
        for (const auto &entry : std::filesystem::recursive_directory_iterator(root)) {
            if (entry.is_regular_file()) {
                runFile(entry.path());
                ++files;
            }
        }
    }
    std::cout << "replayed " << files << " inputs\n";
    return files > 0 ? 0 : 1;
}
