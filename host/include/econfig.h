// The box's configuration store.
#ifndef QUENLORA_ECONFIG_H
#define QUENLORA_ECONFIG_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <memory>

class eConfig
{
public:
    static eConfig *instance();

    // 0 when found; -1 when the key is missing or its value is no integer, leaving value unchanged.
    int getKey(const char *key, int &value);
    // Stores the value and writes the file at once. 0 on success, -1 when the file could not be
    // written (the failure is logged and the old file stays).
    int setKey(const char *key, const int &value);

    class Store;
    explicit eConfig(std::unique_ptr<Store> store);
    ~eConfig();

private:
    std::unique_ptr<Store> store;
};

#pragma GCC visibility pop

#endif
