#include "LogHub.h"

#include <algorithm>

LogHub::File::~File()
{
    std::fclose(m_file);
}

void LogHub::File::write(int level, const std::string& line)
{
    if (level < m_level)
        return;
    std::lock_guard lock(m_lock);
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fflush(m_file);
}

void LogHub::start()
{
    std::lock_guard lock(m_lock);
    m_started = true;
}

std::shared_ptr<LogHub::File> LogHub::open(const std::string& path, int level)
{
    // Append mode: every line lands at the current end even when the program writes the
    // same file through a handle of its own.
    std::FILE* handle = std::fopen(path.c_str(), "ab");
    if (!handle)
        return nullptr;
    auto file = std::make_shared<File>(handle, level);
    std::lock_guard lock(m_lock);
    std::erase_if(m_files, [](const std::weak_ptr<File>& f) { return f.expired(); });
    m_files.push_back(file);
    return file;
}

void LogHub::write(int level, const std::string& text)
{
    static constexpr const char* kPrefixes[] = {
        "encsession: ", "encsession warning: ", "encsession error: "};
    std::vector<std::shared_ptr<File>> files;
    {
        std::lock_guard lock(m_lock);
        if (!m_started)
            return;
        for (const std::weak_ptr<File>& f : m_files)
            if (auto file = f.lock())
                files.push_back(std::move(file));
    }
    const std::string line = kPrefixes[std::clamp(level, 0, 2)] + text + "\r\n";
    for (const auto& file : files)
        file->write(level, line);
}
