// The box a fuzz target runs in: a scratch root with its folders, a configuration file of its
// own, and a toolkit whose quit is already set, so that a message box returns at once instead
// of waiting for keys nobody presses. Made once per process, at the first input.
#ifndef QUENLORA_TESTS_FUZZ_BOX_H
#define QUENLORA_TESTS_FUZZ_BOX_H

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "boxpaths.h"
#include "desktop.h"
#include "store.h"
#include "test_support.h"

class FuzzBox
{
public:
    static FuzzBox &instance()
    {
        static FuzzBox box;
        return box;
    }
    std::string file(const std::string &name) const { return root.file(name); }
    std::string write(const std::string &name, const std::string &bytes) const
    {
        return root.write(name, bytes);
    }

private:
    FuzzBox()
    {
        mkdir(root.file("var").c_str(), 0755);
        mkdir(root.file("var/etc").c_str(), 0755);
        mkdir(root.file("tmp").c_str(), 0755);
        boxpaths::setRoot(root.path());
        config::useFile(root.file("var/etc/quenlora.conf"));
        gui::Desktop::instance().requestQuit();
        // The playlist lookup reports on standard output; a run of millions of inputs would
        // bury libFuzzer's own figures under it.
        if (!freopen("/dev/null", "w", stdout))
            perror("/dev/null");
    }

    testing_support::TempDir root;
};

#endif
