target_sources(zelvarion-cli PRIVATE IptcCommands.cpp Commands.h)
