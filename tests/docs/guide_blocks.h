// Reading the user guide's fenced blocks and the snippet regions they show, so the guide tests can
// compare the guide with the code it shows and with what that code prints.
#pragma once
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace guidetest {

// A fenced block whose info string names what it shows: "cpp snippet=NAME", "text output=NAME",
// "cmake file=PATH".
struct Block {
    std::string kind;  // snippet, output or file
    std::string name;
    std::string body;
    int line = 0;  // of the opening fence
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

inline std::vector<Block> guideBlocks(const std::filesystem::path& guide) {
    std::vector<Block> blocks;
    const std::vector<std::string> all = lines(readFile(guide));
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].rfind("```", 0) != 0 || all[i].size() == 3) continue;
        Block b;
        b.line = int(i + 1);
        const std::string info = all[i].substr(3);
        for (const char* kind : {"snippet", "output", "file"}) {
            const size_t at = info.find(std::string(kind) + "=");
            if (at != std::string::npos) {
                b.kind = kind;
                b.name = info.substr(at + b.kind.size() + 1);
                b.name = b.name.substr(0, b.name.find(' '));
            }
        }
        size_t end = i + 1;
        while (end < all.size() && all[end] != "```") b.body += all[end++] + "\n";
        if (!b.kind.empty()) blocks.push_back(b);
        i = end;
    }
    return blocks;
}

// Every region of the snippet sources: the lines between two "// [NAME]" lines, by name.
inline std::map<std::string, std::string> snippetRegions(const std::filesystem::path& folder) {
    std::map<std::string, std::string> regions;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() != ".cpp") continue;
        std::string open, body;
        for (const std::string& line : lines(readFile(entry.path()))) {
            const bool marker = line.rfind("// [", 0) == 0 && line.back() == ']';
            if (marker && open.empty()) {
                open = line.substr(4, line.size() - 5);
                body.clear();
            } else if (marker && line.substr(4, line.size() - 5) == open) {
                regions[open] = body;
                open.clear();
            } else if (!open.empty()) {
                body += line + "\n";
            }
        }
    }
    return regions;
}

}  // namespace guidetest
