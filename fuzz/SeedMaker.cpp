// Makes the starting inputs of the fuzz targets from the package's sample files that the build
// made: seed-maker <seed directory> [PostScript documents...]. Each target gets a directory of its
// own (named as the target) holding inputs of the kind it reads, all valid, so that fuzzing starts
// from what the readers meet in a real job.
#include "FuzzSupport.h"

#include "core/settings/DevModeService.h"
#include "filter/stream/StreamReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string g_out;

void Write(const std::string& target, const std::string& name, const std::string& bytes)
{
    const std::string dir = g_out + "/" + target;
    std::string command = "mkdir -p '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        std::exit(1);
    std::ofstream(dir + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Le32(uint32_t v)
{
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string RecordBytes(const DRVDEVMODE& record)
{
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

DRVDEVMODE Defaults(const char* model)
{
    DRVDEVMODE record{};
    record.dm.dmSize = kDevmodePublicSize;
    record.dm.dmDriverExtra = kDevmodePrivateSize;
    SpcDevmodeService(orvfuzz::SampleModel(model), nullptr, &record, DEVMODE_SERVICE_DEFAULTS);
    return record;
}

// A P6 page with a dark diagonal band; the comment pads the stream to the wanted length parity.
std::string Page(int width, int height, bool odd, size_t prefixSize)
{
    std::string header = "P6\n# seed\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::string raster(static_cast<size_t>(width) * height * 3, '\xFF');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (std::abs(x - y) < 6)
                for (int c = 0; c < 3; ++c)
                    raster[(static_cast<size_t>(y) * width + x) * 3 + c] = static_cast<char>(c * 60);
    if (((prefixSize + header.size() + raster.size()) & 1) != (odd ? 1u : 0u))
        header.insert(8, "s");
    return header + raster;
}

std::string DscDocument(int pages)
{
    std::ostringstream ps;
    ps << "%!PS-Adobe-3.0\n%%Pages: " << pages << "\n%%BoundingBox: 0 0 595 842\n%%EndComments\n"
       << "%%BeginProlog\n/box { newpath 100 100 moveto 40 0 rlineto 0 exch rlineto -40 0 rlineto closepath fill } "
          "bind def\n%%EndProlog\n%%BeginSetup\n%%EndSetup\n";
    for (int k = 1; k <= pages; ++k)
        ps << "%%Page: " << k << " " << k << "\nsave\n" << 20 * k << " box\nrestore\nshowpage\n";
    ps << "%%Trailer\n%%EOF\n";
    return ps.str();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <seed directory> [PostScript documents...]\n", argv[0]);
        return 2;
    }
    g_out = argv[1];
    orvfuzz::ScratchRoot();
    const char* models[] = {"GC7350", "GM4150", "GM1000"};

    for (const char* model : models) {
        const tagSPCDATA* data = orvfuzz::SampleModel(model);
        if (data == nullptr)
            return 1;
        Write("model_data", std::string(model) + ".pcsp",
              std::string(reinterpret_cast<const char*>(data->pbImage), data->cbImage));
        DRVDEVMODE record = Defaults(model);
        const std::string header = Le32(16) + Le32(kDevmodeSignature) + Le32(1) + Le32(1232);
        Write("saved_settings", std::string(model) + ".dm", header + RecordBytes(record));
        // A record with secure print and the texts the job type page fills.
        record.priv.dmJobSpool = 6;
        std::strcpy(record.priv.dmJobName, "Quarterly report");
        std::strcpy(record.priv.dmDeptCode, "4711");
        std::strcpy(record.priv.dmMailBox_UserID, "box7");
        std::strcpy(record.priv.dmPassword, "1234");
        record.priv.dmUseDeptCode = 1;
        Write("saved_settings", std::string(model) + "-texts.dm", header + RecordBytes(record));
    }
    for (const char* model : {"GC7350", "GM4150"}) {
        Write("color_table", std::string("L_") + model, ReadAll(orvfuzz::DataDir() + "L_" + model));
        // The pipe target picks the colour model for inputs of odd length.
        const bool colour = std::strcmp(model, "GC7350") == 0;
        const std::string settings = "DM" + Le32(14) + std::string(8, '\0') + RecordBytes(Defaults(model));
        const std::string stream = settings + Page(64, 48, colour, settings.size());
        Write("pipe_stream", std::string(model) + ".bin", stream);
        // The printer stream the parent makes of it, for the stream decoder.
        orvfuzz::ParentJob job(model);
        static char title[] = "seed";
        static char user[] = "seed";
        job->pszTitle = title;
        job->pszUser = user;
        const std::string printed = g_out + "/printed-" + model + ".tmp";
        const int out = open(printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = orvfuzz::BytesFd(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
        job.hooks().outputFd = out;
        RunBackend(job.get(), in);
        close(in);
        close(out);
        Write("stream_decoder", std::string(model) + ".prn", ReadAll(printed));
        unlink(printed.c_str());
    }
    for (int i = 2; i < argc; ++i) {
        std::string name = argv[i];
        name = name.substr(name.rfind('/') + 1);
        Write("page_pass", name, ReadAll(argv[i]));
    }
    for (int pages : {1, 3, 7})
        Write("page_pass", "dsc-" + std::to_string(pages) + ".ps", DscDocument(pages));
    const char* optionStrings[] = {
        "media=A4 sides=two-sided-long-edge copies=3 Collate=true",
        "number-up=4 orientation-requested=4 ColorModel=Gray",
        "media=Letter PageSize=Legal MediaType=Thick InputSlot=Tray2 OutputBin=Upper",
        "BookletUnit=On Poster=2x2 Resolution=1200dpi TonerSave=True",
        "fit-to-page=true scaling=150 page-ranges=1-3 job-sheets=none",
        "'media=A4,Tray1' \"sides=one-sided\" Staple=TopLeft Punch=2Hole",
    };
    int n = 0;
    for (const char* text : optionStrings)
        Write("cups_options", "options-" + std::to_string(++n) + ".txt", text);
    for (const char* model : {"GC7350", "GM4150", "GM1000"})
        Write("custom_paper_ppd", std::string(model) + ".ppd",
              ReadAll(std::string(ORV_SAMPLE_PPD_DIR) + "/" + model + ".ppd"));
    std::ofstream(g_out + "/.made") << "seeds\n";
    return 0;
}
