// registry_writer KEY PREFIX COUNT: writes the REG_DWORD values PREFIX0 .. PREFIX<COUNT-1> = index under
// HKEY_LOCAL_MACHINE\KEY, each through a fresh accessor as the program's own writes are, and prints each
// index once its write has returned. Exit code 1 with the error on stderr when a write fails.
#include "Registry.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 4) return 2;
    const QString key = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            TRegistry registry;
            registry.setRootKey(HKEY_LOCAL_MACHINE);
            registry.createKey(key);
            registry.openKey(key, false);
            registry.writeInteger(prefix + QString::number(i), i);
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
