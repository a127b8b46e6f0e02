// A stand-in for the encoder tool whose behaviour a batch test picks through the input's file
// name, so that each row of one batch can do something else:
//   "fail"  prints an error and writes nothing       "empty"  leaves an empty output file
//   "garbage" is not a media file to the information mode
//   "hang"  prints progress, then waits for "q" on standard input before finishing the file
//   "slow"  as any other name, but takes a second between its first two progress lines
//   anything else: prints three progress lines and writes the output file
// The output file holds the tool's working folder and its arguments. When TOVEL_FAKE_BATCH_LOG
// names a file, each run appends its input path to it.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void say(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void progress(double seconds)
{
    say("frame= 25 fps= 25 q= 2.0 size= 12kB time=" + std::to_string(seconds) +
        " bitrate= 100.0kbits/s");
}

bool writeOutput(const std::string& path, int argc, char** argv)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    char cwd[4096] = {};
    out << "cwd=" << (getcwd(cwd, sizeof cwd) ? cwd : "") << '\n';
    for (int i = 1; i < argc; ++i)
        out << "arg=" << argv[i] << '\n';
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    alarm(120); // never outlive a broken test
    std::string input;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "-i" || std::string(argv[i]) == "-info")
            input = argv[i + 1];
    const std::string name = input.substr(input.find_last_of('/') + 1);
    if (argc > 2 && std::string(argv[2]) == "-info") {
        if (name.find("garbage") != std::string::npos) {
            say("Duration:0 Width:0 Height:0 Video:0 Audio:0");
            return 1;
        }
        say("Duration:3 Width:320 Height:240 Video:1 Audio:1");
        return 0;
    }
    const std::string output = argc > 1 ? argv[argc - 1] : "";
    if (const char* log = std::getenv("TOVEL_FAKE_BATCH_LOG"))
        std::ofstream(log, std::ios::app) << input << '\n';

    if (name.find("fail") != std::string::npos) {
        say("fake: cannot convert " + input);
        return 1;
    }
    if (name.find("empty") != std::string::npos) {
        std::ofstream(output, std::ios::binary | std::ios::trunc);
        return 0;
    }
    if (name.find("hang") != std::string::npos) {
        progress(1.0);
        int c;
        while ((c = std::getchar()) != EOF && c != 'q') {
        }
    } else {
        progress(1.0);
        if (name.find("slow") != std::string::npos)
            sleep(1);
        progress(2.0);
    }
    if (!writeOutput(output, argc, argv)) {
        say("fake: cannot write " + output);
        return 1;
    }
    progress(3.0);
    return 0;
}
