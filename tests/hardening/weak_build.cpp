// Needs the C++ run time at run time, so a dynamic link imports its DLLs.
#include <stdexcept>
#include <string>

int main(int argc, char** argv) {
    if (argc > 1) throw std::runtime_error(std::string("unexpected argument ") + argv[1]);
    return 0;
}
