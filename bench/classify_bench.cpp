// Classification benchmark: the key values of a million-record table gathered and classified,
// and every record looked up in its class, for a field of a million distinct values (Quantile,
// five classes) and one of 20 (Unique Values); compared with converting the same input.
// Usage: classify_bench TESSARYN_BINARY
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "classify/field_key.h"
#include "input/dbf_reader.h"
#include "point_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds to build the key of `field` and look up every record; -1 on failure.
double classify(const fs::path& dir, int field, tsn::ClassMethod method, long& checksum) {
  const auto start = Clock::now();
  tsn::DbfReader table;
  if (table.open_table((dir / "roads.dbf").string()) != 0 ||
      table.read_table_header(tsn::TableUse::shapefile_table) != 0) {
    return -1;
  }
  tsn::KeyOptions options;
  options.field = field;
  options.method = method;
  options.requested = 5;
  options.layer_key = true;
  tsn::FieldKey key;
  tsn::prepare_field_key(key, table, options);
  if (!key.active) return -1;
  std::string_view text;
  for (long r = 0; r < table.record_count(); ++r) {
    table.save_record_position();
    if (table.begin_record() != 0) return -1;
    checksum += key.class_of_record(table, text);
  }
  return seconds_since(start);
}

double convert(const std::string& binary, const fs::path& dir, const std::string& args) {
  const std::string out = (dir / "out.dxf").string();
  fs::remove(out);
  const std::string cmd = "TESSARYN_HOME='" + (dir / "home").string() + "' '" + binary + "' '" +
                          (dir / "roads.shp").string() + "' '" + out + "' " + args +
                          " >/dev/null 2>&1";
  const auto start = Clock::now();
  if (std::system(cmd.c_str()) != 0) return -1;
  return seconds_since(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: classify_bench TESSARYN_BINARY\n");
    return 2;
  }
  std::string pattern = (fs::temp_directory_path() / "tsn-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path dir = pattern;
  bench::generate_point_files(dir);
  double distinct = 1e30, twenty = 1e30, plain = 1e30, keyed = 1e30;
  long checksum = 0;
  for (int run = 0; run < 3; ++run) {
    const double a = classify(dir, 0, tsn::ClassMethod::quantile, checksum);
    const double b = classify(dir, 1, tsn::ClassMethod::unique_values, checksum);
    const double c = convert(argv[1], dir, "/C0=3");
    const double d = convert(argv[1], dir, "/LF=1 /LC=2 /CF=0 /CC=0");
    if (a < 0 || b < 0 || c < 0 || d < 0) {
      std::fprintf(stderr, "classify_bench: a step failed\n");
      fs::remove_all(dir);
      return 1;
    }
    distinct = std::min(distinct, a);
    twenty = std::min(twenty, b);
    plain = std::min(plain, c);
    keyed = std::min(keyed, d);
  }
  fs::remove_all(dir);
  std::printf("classify: %d records, best of 3 (checksum %ld)\n", bench::kRecords, checksum);
  std::printf("  1,000,000 distinct values, Quantile 5: %.3f s = %.2f of a conversion\n",
              distinct, distinct / plain);
  std::printf("  20 distinct values, Unique Values:     %.3f s = %.2f of a conversion\n", twenty,
              twenty / plain);
  std::printf("  conversion without keys %.3f s; with layer and colour keys %.3f s (%.2fx)\n",
              plain, keyed, keyed / plain);
  return 0;
}
