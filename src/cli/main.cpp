// vantor-cli: the savestate on the command line.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  std::puts("usage: vantor-cli COMMAND [ARGS...]\n"
            "The savestate commands come with the savestate core.");
  return (argc > 1 && std::strcmp(argv[1], "--help") != 0) ? 1 : 0;
}
