// The module's own interface registry, published through its CreateInterface export.
#pragma once

typedef void* (*InstantiateInterfaceFn)();

// One entry; constructing it links it at the head of the registry.
class InterfaceRegistration {
public:
    InterfaceRegistration(InstantiateInterfaceFn create, const char* name);

    InstantiateInterfaceFn create;
    const char* name;  // not owned
    InterfaceRegistration* next;
};

extern InterfaceRegistration* g_interfaceRegistry;

extern "C" __declspec(dllexport) void* CreateInterface(const char* name, int* returnCode);
