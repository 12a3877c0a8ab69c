// A plain Qt line edit, the reference for what an input method commits: each Return writes
// the box's text as a line to the file named on the command line, and empties the box.
#include <QApplication>
#include <QFile>
#include <QLineEdit>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        return 64;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("plainlineedit"));
    edit.resize(400, 40);
    QObject::connect(&edit, &QLineEdit::returnPressed, &edit, [&edit, path] {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            file.write(edit.text().toUtf8() + '\n');
        }
        edit.clear();
    });
    edit.show();
    return app.exec();
}
