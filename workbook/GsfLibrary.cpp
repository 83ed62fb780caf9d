#include "workbook/GsfLibrary.h"

#include <gsf/gsf-utils.h>

#include <mutex>

void InitGsf() {
    static std::once_flag started;
    std::call_once(started, [] {
        gsf_init();
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip"})
            g_log_set_handler(
                domain, GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL),
                [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
}
