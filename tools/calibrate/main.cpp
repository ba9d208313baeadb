// orvalin-calibrate IMAGE --spacing LENGTH --unit UNIT [--line X1,Y1,X2,Y2]
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "calibrate/calibrate_command.h"

int main(int argc, char **argv)
{
    // The application object makes the image format plugins (JPEG) available.
    QCoreApplication app(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return orv::RunCalibrateCommand(args, std::cout, std::cerr, orv::CommandLanguage());
}
