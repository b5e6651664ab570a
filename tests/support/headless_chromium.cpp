#include "tests/support/headless_chromium.h"

#include "tests/support/unix_command.h"

namespace {

// Root needs --no-sandbox; the rest keeps a test run quiet and offline. Every
// run gets a profile (and a home for the browser's crash and cache files) of
// its own, removed afterwards.
std::string ChromiumScript(const std::string& windowsPagePath, const std::string& action) {
    std::string url = "file://" + UnixPath(windowsPagePath);
    return "profile=$(mktemp -d) && "
           "HOME=\"$profile\" XDG_CONFIG_HOME=\"$profile\" XDG_CACHE_HOME=\"$profile\" "
           "timeout 90 chromium --no-sandbox --headless=new --disable-gpu --no-first-run "
           "--disable-background-networking --disable-component-update --disable-sync "
           "--allow-file-access-from-files --user-data-dir=\"$profile\" " +
           action + " " + ShellQuote(url) + " 2>/dev/null; status=$?; rm -rf \"$profile\"; " +
           "exit $status";
}

} // namespace

bool ChromiumInstalled() {
    return UnixProgramExists("chromium");
}

std::string ChromiumDom(const std::string& windowsPagePath) {
    UnixRun r = RunUnixCommand(ChromiumScript(windowsPagePath, "--dump-dom"));
    return r.finished && r.status == 0 ? r.output : std::string();
}

bool ChromiumScreenshot(const std::string& windowsPagePath, const std::string& unixPngPath,
                        int width, int height) {
    std::string action = "--screenshot=" + ShellQuote(unixPngPath) +
                         " --window-size=" + std::to_string(width) + "," + std::to_string(height) +
                         " --hide-scrollbars";
    UnixRun r = RunUnixCommand(ChromiumScript(windowsPagePath, action));
    return r.finished && r.status == 0;
}
