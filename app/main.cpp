#include "app/main_window.h"
#include "app/runtime.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    runtime::setUpApplication();
    Tavola tavola;
    tavola.Show();
    return QApplication::exec();
}
