// A stand-in for the encoder tool that does exactly what a test plan says, to provoke what the
// real tool will not do on demand: garbage, odd line ends, hanging, crashing, ignoring "q".
//
// The plan is the file named by TOVEL_FAKE_PLAN, one step per line:
//   print <text>   writes text and a line feed      raw <text>   writes text alone
//                  (\r \n \t \\ escapes apply to both)
//   sleep <ms>     pauses                           hang         sleeps forever, never reads
//   waitq          reads standard input until a "q" arrived or it closed
//   output <text>  writes text to the last argument (the output file)
//   crash          aborts                           exit <code>  ends with that code
// The arguments go to <plan>.args (one per line), what standard input delivered to
// <plan>.stdin.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

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

void emit(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const char* plan = std::getenv("TOVEL_FAKE_PLAN");
    if (!plan)
        return 3;
    {
        std::ofstream args(std::string(plan) + ".args", std::ios::binary);
        for (int i = 1; i < argc; ++i)
            args << argv[i] << '\n';
    }
    std::ifstream steps(plan, std::ios::binary);
    std::string line;
    while (std::getline(steps, line)) {
        const size_t blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (word == "print") {
            emit(unescape(rest) + "\n");
        } else if (word == "raw") {
            emit(unescape(rest));
        } else if (word == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(rest.c_str())));
        } else if (word == "hang") {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        } else if (word == "waitq") {
            std::ofstream got(std::string(plan) + ".stdin", std::ios::binary);
            int c;
            while ((c = std::getchar()) != EOF) {
                got.put(char(c));
                got.flush();
                if (c == 'q') {
                    // Take the padding that follows the request too, as far as it came.
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    for (int n = 0; n < 9 && (c = std::getchar()) != EOF; ++n)
                        got.put(char(c));
                    break;
                }
            }
        } else if (word == "output" && argc > 1) {
            std::ofstream(argv[argc - 1], std::ios::binary) << unescape(rest);
        } else if (word == "crash") {
            std::abort();
        } else if (word == "exit") {
            return std::atoi(rest.c_str());
        }
    }
    return 0;
}
