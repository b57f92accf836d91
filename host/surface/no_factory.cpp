// A surface module without the "CreateInterface" export.
extern "C" __declspec(dllexport) int StandInSurfaceWithoutFactory() { return 0; }
