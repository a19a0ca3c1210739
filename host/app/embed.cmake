# Writes OUTPUT, a C++ file whose app::defaultStations() returns the bytes of INPUT.
file(READ "${INPUT}" content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
file(WRITE "${OUTPUT}" "#include \"default_stations.h\"\n"
  "namespace app {\n"
  "namespace { const char data[] = {${bytes} 0}; }\n"
  "std::string defaultStations() { return std::string(data, sizeof data - 1); }\n"
  "} // namespace app\n")
