#error "<dirent.h> is POSIX only: put its include behind a Q_OS_UNIX guard"
