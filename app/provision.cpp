#include "app/provision.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app/web_image_art.h"
#include "core/system/config/model_table.h"
#include "drivers/spi_nvm.h"
#include "platform/host/options.h"
#include "platform/host/root.h"
#include "storage/data_reset_note.h"
#include "storage/files/arb_file.h"
#include "storage/nv/settings_backup.h"

bool ProvisionNewUnit() {
    ProvisionBrandWebImages();
    ProvisionBootLogos();
    // The memory file's damage is remembered as one item, whichever it is.
    static constexpr char kFileKey[] = "non-volatile memory file";
    struct stat st {};
    if (stat(plat::MapPath("/dev/spidev1.0").c_str(), &st) == 0) {
        // The missing tail reads as a chip never written, whose blocks would reset without a word.
        if (st.st_size < static_cast<off_t>(kNvmSize)) {
            // The line names the size, so it stands for what was found.
            const std::string line = "non-volatile memory from byte " + std::to_string(st.st_size) +
                                     " reset: memory file cut short";
            StoredDataTell(kFileKey,
                           StoredDataPrint(reinterpret_cast<const uint8_t*>(line.data()), line.size()), line);
        } else {
            StoredDataSound(kFileKey);
        }
        return false;
    }
    // The copy of block 0 is written with the factory's block 0: a root that holds it had a memory, which
    // is lost. Its block 0 comes back from the copy; the rest starts from the defaults, and is said.
    if (stat(plat::MapPath("/mnt/tst/Special/SpecialData").c_str(), &st) == 0) {
        StoredDataTell(kFileKey, kPrintMissing,
                       "settings, presets and configuration reset: non-volatile memory file missing");
        return false;
    }
    const auto model = static_cast<uint32_t>(plat::GetOptions().model);
    FactoryUnitRequest(model);
    if (storage::ArbProvisionFactoryFiles(g_ModelTable[model < kModelTypes ? model : 0].name[0]) != 0)
        std::fprintf(stderr, "vrn-controller: the factory waveform files could not all be written\n");
    return true;
}
