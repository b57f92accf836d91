#include "interface_registry.h"

#include <cstring>

InterfaceRegistration* g_interfaceRegistry = nullptr;

InterfaceRegistration::InterfaceRegistration(InstantiateInterfaceFn create, const char* name)
    : create(create), name(name), next(g_interfaceRegistry)
{
    g_interfaceRegistry = this;
}

void* CreateInterface(const char* name, int* returnCode)
{
    for (InterfaceRegistration* entry = g_interfaceRegistry; entry; entry = entry->next) {
        if (std::strcmp(entry->name, name) == 0) {
            if (returnCode) *returnCode = 0;
            return entry->create();
        }
    }
    if (returnCode) *returnCode = 1;
    return nullptr;
}
