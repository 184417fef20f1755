#include "tools/bench/Report.h"
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include "framework/Handles.h"

namespace {
struct FileTraits {
    using Handle = FILE*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { std::fclose(h); }
};

std::string JsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) >= 0x20)
            quoted += c;
    }
    return quoted + '"';
}

// A count of system calls for the table: a dash when not counted.
std::string Calls(long long calls)
{
    return calls < 0 ? "-" : std::to_string(calls);
}
} // namespace

std::string MachineName()
{
    char name[128] = "unknown processor";
    DWORD size = sizeof name - 1;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0, KEY_READ,
                        &key) == ERROR_SUCCESS) {
        const UniqueRegKey owned(key);
        ::RegQueryValueExA(key, "ProcessorNameString", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size);
    }
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return std::string(name) + ", " + std::to_string(info.dwNumberOfProcessors) + " processors";
}

std::string WineVersion()
{
    using VersionCall = const char*(CDECL*)();
    const auto call = reinterpret_cast<VersionCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return call != nullptr ? std::string("Wine ") + call() : "not Wine";
}

long long FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ReadSyscalls(const std::string& path, std::vector<ScenarioResult>& scenarios)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        long long fernwick = 0, floor = 0;
        if (!(fields >> name))
            continue; // a blank line
        if (!(fields >> fernwick >> floor))
            return false;
        for (ScenarioResult& s : scenarios)
            if (s.name == name) {
                s.syscallsFernwick = fernwick;
                s.syscallsFloor = floor;
            }
    }
    return true;
}

void PrintTable(const BenchReport& report)
{
    std::printf("\nFernwick benchmark on %s%s%s, %s, %s\n", report.processor.c_str(), report.processor.empty() ? "" : ": ",
                report.machine.c_str(), report.wine.c_str(), report.pinned ? "pinned to one CPU" : "not pinned");
    std::printf("%-13s %11s %9s %6s %17s %4s %10s %10s %6s\n", "scenario", "Fernwick ms", "floor ms", "ratio",
                "spread (min-max)", "runs", "F syscalls", "floor", "ratio");
    for (const ScenarioResult& s : report.scenarios)
        std::printf("%-13s %11.1f %9.1f %6.2f %8.2f-%-8.2f %4zu %10s %10s %6.2f\n", s.name.c_str(), s.FernwickMedian(),
                    s.FloorMedian(), s.Ratio(), s.MinRatio(), s.MaxRatio(), s.fernwickMs.size(),
                    Calls(s.syscallsFernwick).c_str(), Calls(s.syscallsFloor).c_str(), s.SyscallsRatio());
    for (const ScenarioResult& s : report.scenarios)
        for (const auto& [what, value] : s.figures)
            std::printf("%-13s %s %.1f\n", s.name.c_str(), what.c_str(), value);
    if (report.steady) {
        const SteadyState& st = *report.steady;
        std::printf("%-13s %d of %d cycles: handles %+d, windows %+d, menus %+d, GDI objects %+d, private %+lld KiB, "
                    "heap %+lld bytes\n",
                    "steady_state", st.cycles, st.plannedCycles, st.handlesGrowth, st.windowsGrowth, st.menusGrowth,
                    st.gdiGrowth, st.privateKiBGrowth, st.heapBytesGrowth);
    }
    std::printf("%-13s %lld bytes (%.0f KiB)\n", "exe_bytes", report.exeBytes, report.exeBytes / 1024.0);
    std::fflush(stdout);
}

bool WriteJson(const BenchReport& report, const std::string& path)
{
    const UniqueHandle<FileTraits> file(std::fopen(path.c_str(), "w"));
    if (!file)
        return false;
    FILE* out = file.get();
    std::fprintf(out,
                 "{\"processor\": %s, \"machine\": %s, \"wine\": %s, \"exe_bytes\": %lld, \"pinned\": %s,\n "
                 "\"scenarios\": [",
                 JsonString(report.processor).c_str(), JsonString(report.machine).c_str(),
                 JsonString(report.wine).c_str(), report.exeBytes, report.pinned ? "true" : "false");
    const char* separator = "\n";
    for (const ScenarioResult& s : report.scenarios) {
        std::fprintf(out,
                     "%s  {\"name\": %s, \"fernwick_ms\": %.3f, \"floor_ms\": %.3f, \"ratio\": %.3f, \"runs\": %zu, "
                     "\"min_ratio\": %.3f, \"max_ratio\": %.3f",
                     separator, JsonString(s.name).c_str(), s.FernwickMedian(), s.FloorMedian(), s.Ratio(),
                     s.fernwickMs.size(), s.MinRatio(), s.MaxRatio());
        if (s.syscallsFernwick >= 0 && s.syscallsFloor >= 0)
            std::fprintf(out, ", \"syscalls_fernwick\": %lld, \"syscalls_floor\": %lld, \"syscalls_ratio\": %.3f",
                         s.syscallsFernwick, s.syscallsFloor, s.SyscallsRatio());
        for (const auto& [what, value] : s.figures)
            std::fprintf(out, ", %s: %.3f", JsonString(what).c_str(), value);
        std::fprintf(out, "}");
        separator = ",\n";
    }
    std::fprintf(out, "]");
    if (report.steady) {
        const SteadyState& st = *report.steady;
        std::fprintf(out,
                     ",\n \"steady_state\": {\"cycles\": %d, \"planned_cycles\": %d, \"handles_growth\": %d, "
                     "\"windows_growth\": %d, \"menus_growth\": %d, \"gdi_growth\": %d, \"private_kib_growth\": %lld, "
                     "\"heap_bytes_growth\": %lld}",
                     st.cycles, st.plannedCycles, st.handlesGrowth, st.windowsGrowth, st.menusGrowth, st.gdiGrowth,
                     st.privateKiBGrowth, st.heapBytesGrowth);
    }
    std::fprintf(out, "}\n");
    return std::ferror(out) == 0;
}
