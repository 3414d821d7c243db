// Prints the GDI and USER object counts (GetGuiResources) and the memory of the running saver
// (the process that owns the window of class PelloxSaverWindow).
#include <psapi.h>
#include <stdio.h>
#include <windows.h>
int main(void) {
    HWND w = FindWindowW(L"PelloxSaverWindow", NULL);
    DWORD pid = 0;
    if (!w) {
        printf("no saver window\n");
        return 1;
    }
    GetWindowThreadProcessId(w, &pid);
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS m = {0};
    m.cb = sizeof m;
    GetProcessMemoryInfo(p, &m, sizeof m);
    printf("gdi %lu user %lu working_set_kib %llu private_kib %llu\n",
           GetGuiResources(p, GR_GDIOBJECTS), GetGuiResources(p, GR_USEROBJECTS),
           (unsigned long long)m.WorkingSetSize / 1024, (unsigned long long)m.PagefileUsage / 1024);
    return 0;
}
