#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

// A fresh folder "plugin-test-<name>" below the working directory, removed with the object.
// Packages unpack into its "root"; the package file lies beside the root, so that anything
// that escaped the root shows up in the folder.
class ScratchTree
{
public:
    explicit ScratchTree(const std::string& name)
        : m_parent(fs::absolute("plugin-test-" + name)), m_root(m_parent / "root")
    {
        Remove();
        fs::create_directories(m_root);
    }
    ~ScratchTree() { Remove(); }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    const fs::path& Parent() const { return m_parent; }
    const fs::path& Root() const { return m_root; }
    std::string RootText() const { return m_root.string(); }
    std::string PackageText() const { return (m_parent / "package.qva").string(); }

private:
    void Remove() const
    {
        std::error_code error;
        // Read-only files cannot be removed on Windows as they are.
        for (auto it = fs::recursive_directory_iterator(m_parent, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error))
        {
            if (!it->is_symlink())
                fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
        }
        fs::remove_all(m_parent, error);
    }

    fs::path m_parent;
    fs::path m_root;
};

inline std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Everything below folder: relative paths with '/' ("a/b.txt"; folders end with '/', links
// with '@') to the files' bytes (empty for folders and links).
inline std::map<std::string, std::string> TreeOf(const fs::path& folder)
{
    std::map<std::string, std::string> tree;
    for (auto it = fs::recursive_directory_iterator(folder);
         it != fs::recursive_directory_iterator(); ++it)
    {
        std::string name = fs::relative(it->path(), folder).generic_string();
        if (it->is_symlink())
            tree[name + "@"] = "";
        else if (it->is_directory())
            tree[name + "/"] = "";
        else
            tree[name] = ReadFile(it->path());
    }
    return tree;
}

// Bytes that do not compress: a simple generator, the same on every run.
inline std::string NoiseBytes(std::size_t size, unsigned seed = 1)
{
    std::string bytes(size, '\0');
    unsigned long state = seed;
    for (char& c : bytes)
    {
        state = state * 1103515245ul + 12345ul;
        c = static_cast<char>((state >> 16) & 0xFF);
    }
    return bytes;
}
