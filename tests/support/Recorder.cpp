// The stand-in for the programs Cuewright starts (the text editor, the game) in the
// window tests. Each start appends one line to record.txt beside the program: the
// number of arguments, then each argument after a "|", so that a start without
// arguments still leaves a line; and the folder it was started in to folders.txt.
// Text is UTF-8 on every system. It is a program rather than a script so that Windows
// can start it too.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>
#endif

namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32
std::string utf8(const wchar_t *text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), length, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

std::vector<std::string> arguments(int, char **)
{
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(utf8(wide[i]));
    LocalFree(wide);
    return args;
}

fs::path ownFolder()
{
    std::wstring buffer(32768, L'\0');
    buffer.resize(GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
    return fs::path(buffer).parent_path();
}

std::FILE *openForAppending(const fs::path &path)
{
    return _wfopen(path.c_str(), L"ab");
}
#else
std::vector<std::string> arguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

fs::path ownFolder()
{
    return fs::read_symlink("/proc/self/exe").parent_path();
}

std::FILE *openForAppending(const fs::path &path)
{
    return std::fopen(path.c_str(), "ab");
}
#endif

bool append(const fs::path &path, const std::string &line)
{
    std::FILE *file = openForAppending(path);
    if (!file)
        return false;
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args = arguments(argc, argv);
    std::string line = std::to_string(args.size());
    for (const std::string &arg : args)
        line += "|" + arg;
    const fs::path folder = ownFolder();
    std::error_code code;
    const std::string workingFolder = utf8(fs::current_path(code));
    const bool recorded =
        append(folder / "record.txt", line + "\n") && append(folder / "folders.txt", workingFolder + "\n");
    return recorded ? 0 : 1;
}
