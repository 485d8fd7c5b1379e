#include "app/main_window.h"
#include "app/runtime.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    int status = 0;
    {
        QApplication app(argc, argv);
        runtime::setUpApplication();
        Tavola tavola; // gone before the application object: the sound output stops first
        tavola.Show();
        status = QApplication::exec();
    }
    return status;
}
