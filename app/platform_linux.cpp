#include "app/platform.h"

#include "app/application.h"

#include <QFont>
#include <QMessageBox>

namespace platform
{

void substituteFonts()
{
    // The description names Windows faces; these are their metric-compatible counterparts.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
}

QString sansFace()
{
    return QStringLiteral("Liberation Sans");
}

void showError(const QString &title, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, title, message);
    application::fitTitle(box);
    box.exec();
}

} // namespace platform
