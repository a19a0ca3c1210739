// Loads a station directory file into the main window's chooser, as at start-up and after a
// directory download, and prints how long the load took.
//   bench-station-load ROOT [REPEATS]   (ROOT/var/etc/stations.xml is the file)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "boxpaths.h"
#include "ecombobox.h"
#include "quenlo_dialog.h"
#include "store.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s ROOT [REPEATS]\n", argv[0]);
        return 2;
    }
    boxpaths::setRoot(argv[1]);
    config::useFile(std::string(argv[1]) + "/var/etc/quenlora.conf");
    // Without REPEATS the constructor's load is the only one, as at start-up.
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 0;

    QuenloDialog dialog; // its constructor loads the file once
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        dialog.initialise();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    if (times.empty())
        times.push_back(0);
    std::sort(times.begin(), times.end());
    int rows = 0;
    for (eWidget *child : dialog.getChildren())
        if (auto *box = dynamic_cast<eComboBox *>(child))
            rows = box->getCount();
    printf("rows %d median_ms %.3f min_ms %.3f\n", rows, times[times.size() / 2], times[0]);
    return rows > 0 ? 0 : 1;
}
