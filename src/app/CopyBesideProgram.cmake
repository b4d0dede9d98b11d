# Copies the data files (*.okc, *.oku, Locales.def) and the help page into DESTINATION.
# Run at build time, so files generated after configuring are picked up too.
file(GLOB data_files ${DATA_DIR}/*.okc ${DATA_DIR}/*.oku ${DATA_DIR}/Locales.def)
if(EXISTS ${HELP_PAGE})
    list(APPEND data_files ${HELP_PAGE})
endif()
if(data_files)
    file(COPY ${data_files} DESTINATION ${DESTINATION})
endif()
