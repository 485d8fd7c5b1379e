#include "app/application.h"

int main(int argc, char *argv[])
{
    return application::runGame(argc, argv);
}
