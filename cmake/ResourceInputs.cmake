# The resource compiler's includes are not scanned for changes: name the page templates, the id
# header, the version, the icon and the manifest as inputs of the resource script, in the directory
# that compiles it.
function(veltrano_resource_inputs RC_FILE)
  file(GLOB page_templates CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/pages/*.rc)
  set(resources ${PROJECT_SOURCE_DIR}/resources)
  set(inputs ${page_templates} ${resources}/resource.h ${PROJECT_BINARY_DIR}/generated/version/version.h
             ${resources}/veltrano.ico ${resources}/veltrano.manifest)
  set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS "${inputs}")
endfunction()
