#include "core/shell/Autostart.h"

#include <algorithm>

namespace ov {

std::string AutostartArguments(bool quitAfterUpdate, int delaySeconds) {
  std::string args = quitAfterUpdate ? "/quit" : "";
  const int delay = std::clamp(delaySeconds, 0, 30);
  if (delay > 0) args += " /delay " + std::to_string(delay);
  return args;
}

const std::string& VisualStylesManifest() {
  static const std::string text = [] {
    // Tabs of indentation, then the line.
    const struct {
      int tabs;
      const char* text;
    } lines[] = {
        {0, R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"},
        {0, R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)"},
        {1, R"(<assemblyIdentity)"},
        {2, R"(version="1.0.0.0")"},
        {2, R"(processorArchitecture="X86")"},
        {2, R"(name="CompanyName.ProductName.YourApp")"},
        {2, R"(type="win32")"},
        {1, R"(/>)"},
        {1, R"(<description>Dynamic desktop calendar</description>)"},
        {1, R"(<dependency>)"},
        {2, R"(<dependentAssembly>)"},
        {3, R"(<assemblyIdentity)"},
        {4, R"(type="win32")"},
        {4, R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"},
        {4, R"(processorArchitecture="X86")"},
        {4, R"(publicKeyToken="6595b64144ccf1df")"},
        {4, R"(language="*")"},
        {3, R"(/>)"},
        {2, R"(</dependentAssembly>)"},
        {1, R"(</dependency>)"},
        {0, R"(</assembly>)"},
    };
    std::string out;
    for (const auto& l : lines) out += std::string(static_cast<size_t>(l.tabs), '\t') + l.text + "\r\n";
    return out;
  }();
  return text;
}

}  // namespace ov
