// Opens a project file of many properties and reports the peak resident size beside the
// bytes the table's own cells take. Usage: tabrix_open_peak_memory [properties [empty]]
// With "empty", every property is an empty element: the fewest bytes a row can cost a file.
#include "BenchSupport.h"

#include "project/DocumentLifecycle.h"
#include "project/ProjectReader.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Written row by row, so that making the file does not itself raise the peak.
void WriteFile(const std::string& path, int properties, bool empty) {
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<GatewayParameters>\n <KonnexDevices>\n  <Device id=\"1\">\n"
               "   <Property_Identifiers>\n",
               file);
    for (int k = 0; k < properties; ++k) {
        if (empty) {
            std::fputs("<Property/>", file);
            continue;
        }
        std::fprintf(file,
                     "    <Property id=\" general\">\n"
                     "     <Enabled>False</Enabled>\n"
                     "     <DatapointName>Datapoint %d K\xc3\xbc"
                     "che</DatapointName>\n"
                     "     <DatapointTypeName>DPT_Switch</DatapointTypeName>\n"
                     "     <DatapointTypeCode>01.001</DatapointTypeCode>\n"
                     "     <DatapointDirection>IN</DatapointDirection>\n"
                     "     <KRO_VariableIndex>%d</KRO_VariableIndex>\n"
                     "     <KRO_Register/>\n     <KRO_FunctionCode/>\n"
                     "     <KRO_VariableType>COIL</KRO_VariableType>\n     <KRO_DataType/>\n"
                     "     <KRO_Conversion_Rule>+</KRO_Conversion_Rule>\n"
                     "     <KRO_Conversion_Scale>%d</KRO_Conversion_Scale>\n"
                     "     <Knx_DataPoint_Line_Address>%d</Knx_DataPoint_Line_Address>\n"
                     "     <Knx_Datapoint_GroupAddress>%d</Knx_Datapoint_GroupAddress>\n"
                     "     <Knx_Datapoint_Z_FieldAddress>%d</Knx_Datapoint_Z_FieldAddress>\n"
                     "    </Property>\n",
                     k, k % 10001 + 1, k % 32768, k / 2040 % 16, k / 255 % 8, k % 255 + 1);
    }
    std::fputs("   </Property_Identifiers>\n  </Device>\n </KonnexDevices>\n"
               "</GatewayParameters>\n",
               file);
    std::fclose(file);
}

// The cells' own bytes: each cell's string object and the text it keeps outside itself.
std::size_t CellBytes(const MappingTable& table) {
    std::size_t bytes = 0;
    for (int row = 0; row < table.GetRowCountEx(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            const std::string& cell = table.GetCellEx(column, row);
            bytes += sizeof(std::string) + (cell.capacity() > 15 ? cell.capacity() + 1 : 0);
        }
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    const int properties = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const std::string path =
        (std::filesystem::temp_directory_path() / "tabrix-peak-memory.xml").string();
    WriteFile(path, properties, argc > 2 && std::string(argv[2]) == "empty");
    const long before = PeakResidentKiB();

    BenchDocument bench;
    DocumentContext context{bench.edit, bench.document};
    const auto start = std::chrono::steady_clock::now();
    const bool read = ReadProjectFile(context, path);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = PeakResidentKiB();
    const std::size_t cells = CellBytes(bench.table);
    std::printf("file: %.1f MiB, %d properties, read %s in %.2f s, %d rows\n",
                static_cast<double>(std::filesystem::file_size(path)) / (1 << 20), properties,
                read ? "ok" : "FAILED", seconds, bench.table.GetRowCountEx() - 1);
    std::printf("peak resident: %.1f MiB before, %.1f MiB after; cell bytes %.1f MiB; "
                "peak growth / cell bytes = %.2f\n",
                before / 1024.0, after / 1024.0, static_cast<double>(cells) / (1 << 20),
                (after - before) * 1024.0 / static_cast<double>(cells));
    std::filesystem::remove(path);
    return read ? 0 : 1;
}
