// A stand-in for the encoder tool, to provoke what the real tool will not do on demand:
// garbage, odd line ends, hanging, crashing, ignoring "q", failing one row of a batch.
//
// It follows a plan, one step per line:
//   print <text>   writes text and a line feed      raw <text>   writes text alone
//                  (\r \n \t \\ escapes apply to both)
//   progress <s>   writes a progress line with time=<s>
//   sleep <ms>     pauses                           hang         sleeps forever, never reads
//   waitq          reads standard input until a "q" arrived or it closed
//   output <text>  writes text to the last argument (the output file)
//   report         writes its working folder and arguments to the output file, one
//                  "cwd=" and one "arg=" line each; ends with 1 when it cannot
//   crash          aborts                           exit <code>  ends with that code
//
// The engine's tests write the plan into the file named by TOVEL_FAKE_PLAN; the arguments go to
// <plan>.args (one per line), what standard input delivered to <plan>.stdin.
// Without TOVEL_FAKE_PLAN the input's file name picks a plan, so that each row of one batch
// can do something else (see namedPlan). When TOVEL_FAKE_LOG names a file, each conversion
// appends its input path to it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

std::string escape(const std::string& text)
{
    std::string out;
    for (const char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

void emit(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

// The steps of a batch row, chosen by words in the input's file name:
//   "garbage"  is not a media file to the information mode
//   "fail"     prints an error and writes nothing   "empty"  leaves an empty output file
//   "broken"   writes part of the output file, says why it cannot go on and exits with 1
//   "hang"     prints progress, then waits for "q" before finishing the file
//   "slow"     as any other name, but takes a second between its first two progress lines, and
//              20 ms before its information reply
//   any other: prints three progress lines and reports into the output file
std::vector<std::string> namedPlan(const std::string& input, bool information)
{
    const std::string name = input.substr(input.find_last_of('/') + 1);
    const auto has = [&](const char* word) { return name.find(word) != std::string::npos; };
    if (information) {
        if (has("garbage"))
            return {"print Duration:0 Width:0 Height:0 Video:0 Audio:0", "exit 1"};
        return {has("slow") ? "sleep 20" : "",
                "print Duration:3 Width:320 Height:240 Video:1 Audio:1"};
    }
    if (has("fail"))
        return {"print fake: cannot convert " + escape(input), "exit 1"};
    if (has("broken"))
        return {"progress 1.0", "output partial", "print fake: No space left on device", "exit 1"};
    if (has("empty"))
        return {"output "};
    if (has("hang"))
        return {"progress 1.0", "waitq", "report", "progress 3.0"};
    return {"progress 1.0", has("slow") ? "sleep 1000" : "", "progress 2.0", "report",
            "progress 3.0"};
}

std::vector<std::string> planFile(const std::string& plan)
{
    std::vector<std::string> steps;
    std::ifstream file(plan, std::ios::binary);
    std::string line;
    while (std::getline(file, line))
        steps.push_back(line);
    return steps;
}

// Reads standard input until a "q" (and the padding after it, as far as it came) or its end;
// keeps what came in `record` when one is named.
void waitForQ(const std::string& record)
{
    std::ofstream got;
    if (!record.empty())
        got.open(record, std::ios::binary);
    int c;
    while ((c = std::getchar()) != EOF) {
        got.put(char(c));
        got.flush();
        if (c == 'q') {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            for (int n = 0; n < 9 && (c = std::getchar()) != EOF; ++n)
                got.put(char(c));
            break;
        }
    }
}

bool report(const std::string& path, int argc, char** argv)
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
    // The programs ask at start-up what FFmpeg can make; the stand-in knows no FFmpeg, and a
    // tool that cannot answer leaves every profile as it is.
    if (argc == 3 && std::string(argv[2]) == "-capabilities")
        return 1;
    const char* plan = std::getenv("TOVEL_FAKE_PLAN");
    const std::string output = argc > 1 ? argv[argc - 1] : "";
    std::vector<std::string> steps;
    if (plan) {
        std::ofstream args(std::string(plan) + ".args", std::ios::binary);
        for (int i = 1; i < argc; ++i)
            args << argv[i] << '\n';
        steps = planFile(plan);
    } else {
        std::string input;
        for (int i = 1; i + 1 < argc; ++i)
            if (std::string(argv[i]) == "-i" || std::string(argv[i]) == "-info")
                input = argv[i + 1];
        const bool information = argc > 2 && std::string(argv[2]) == "-info";
        if (const char* log = std::getenv("TOVEL_FAKE_LOG"); log && !information)
            std::ofstream(log, std::ios::app) << input << '\n';
        steps = namedPlan(input, information);
    }

    for (const std::string& line : steps) {
        const size_t blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (word == "print") {
            emit(unescape(rest) + "\n");
        } else if (word == "raw") {
            emit(unescape(rest));
        } else if (word == "progress") {
            emit("frame= 25 fps= 25 q= 2.0 size= 12kB time=" + rest + " bitrate= 100.0kbits/s\n");
        } else if (word == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(rest.c_str())));
        } else if (word == "hang") {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        } else if (word == "waitq") {
            waitForQ(plan ? std::string(plan) + ".stdin" : std::string());
        } else if (word == "output" && argc > 1) {
            std::ofstream(output, std::ios::binary) << unescape(rest);
        } else if (word == "report" && !report(output, argc, argv)) {
            emit("fake: cannot write " + output + "\n");
            return 1;
        } else if (word == "crash") {
            std::abort();
        } else if (word == "exit") {
            return std::atoi(rest.c_str());
        }
    }
    return 0;
}
