#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Carries the messages of one factory's jobs to the log files of its log writers, once a log
// system has been started. Shared by the factory and everything it made. Threads: any.
class LogHub
{
public:
    enum Level
    {
        Information = 0,
        Warning = 1,
        Error = 2
    };

    // One open log file: appends whole lines at the file's end, flushed at once.
    class File
    {
    public:
        File(std::FILE* file, int level) : m_file(file), m_level(level) {}
        ~File();
        File(const File&) = delete;
        File& operator=(const File&) = delete;
        void write(int level, const std::string& line);

    private:
        std::mutex m_lock;
        std::FILE* m_file;
        int m_level;
    };

    // Messages flow from now on.
    void start();
    // Opens `path` for appending; null when it cannot be opened. The hub forgets the file
    // when the last holder lets it go.
    std::shared_ptr<File> open(const std::string& path, int level);
    // Appends `text` as one line to every file that takes `level`.
    void write(int level, const std::string& text);

private:
    std::mutex m_lock;
    bool m_started = false;
    std::vector<std::weak_ptr<File>> m_files;
};
