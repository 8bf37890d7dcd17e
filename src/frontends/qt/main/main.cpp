#include "frontends/headless/program.h"
#include "frontends/qt/desktop.h"

int main(int argc, char** argv) {
    return zephran::RunProgram(argc, argv, &zephran::qt::RunDesktop);
}
