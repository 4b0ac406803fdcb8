// A Qt Core program that starts and exits: the yardstick of what the
// command line costs beyond Qt itself.
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}
