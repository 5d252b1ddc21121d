// Runs a fuzz target once over every file of the folders (or files) named on the command
// line, in name order. A broken expectation aborts the run with the input's name printed
// just before it; a folder without inputs is an error, so that a lost corpus shows.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& place) {
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(place)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(place)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    } else if (std::filesystem::is_regular_file(place)) {
        inputs.push_back(place);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const auto inputs = InputsOf(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const auto& input : inputs) {
            std::printf("%s\n", input.c_str());
            std::fflush(stdout);
            std::ifstream in(input, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
        }
        std::printf("%zu inputs of %s replayed\n", inputs.size(), argv[i]);
    }
    return 0;
}
