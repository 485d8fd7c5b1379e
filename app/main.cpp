#include "app/runtime.h"

int main(int argc, char *argv[])
{
    runtime::endProcess(runtime::runGame(argc, argv));
}
