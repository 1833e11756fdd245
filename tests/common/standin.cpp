// A stand-in for the programs that the update start-up runs, chosen by the name it is copied
// under: "unzip" tests (-t) or unpacks (-o) an archive as its text tells, the updater notes the
// folder it was started in. A plain program, so that the Windows build's tests under Wine can
// start and wait for it as for the real ones.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool says(const char* path, const char* word)
{
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return text.find(word) != std::string::npos;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string name = std::filesystem::path(argv[0]).stem().string();
    if (name == "unzip" && argc == 3 && std::string(argv[1]) == "-t")
        return says(argv[2], "intact") ? 0 : 1;
    if (name == "unzip" && argc == 3 && std::string(argv[1]) == "-o") {
        if (says(argv[2], "batch"))
            std::ofstream("setup.bat") << "rem\n";
        return 0;
    }
    if (name == "unzip")
        return 2;
    std::ofstream("updater-ran") << std::filesystem::current_path().generic_string() << "\n";
    return 0;
}
