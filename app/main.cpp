#include "app/runtime.h"

int main(int argc, char *argv[])
{
    return runtime::runGame(argc, argv);
}
