// The printer-stream decoder of the test tools: any bytes as a printer job.
#include "tools/stream-decoder/lib/StreamDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    orvdecode::DecodeStream(data, size);
    return 0;
}
