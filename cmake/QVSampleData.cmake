# Sample files made by other programs (TGA images, 3D Studio meshes) live beside the project, in
# shared/data next to the checkout or next to its parent folder (a folder of worktrees); never in
# the tree. Tests and benchmarks that read them skip them when the folder is absent; the
# environment variable of the same name overrides this at run time.
if(NOT QV_SAMPLE_DATA_DIR)
  set(qv_sample_data_default ${PROJECT_SOURCE_DIR}/../shared/data)
  foreach(candidate ${PROJECT_SOURCE_DIR}/../shared/data ${PROJECT_SOURCE_DIR}/../../shared/data)
    if(IS_DIRECTORY ${candidate})
      set(qv_sample_data_default ${candidate})
      break()
    endif()
  endforeach()
  get_filename_component(qv_sample_data_default ${qv_sample_data_default} ABSOLUTE)
  set(QV_SAMPLE_DATA_DIR ${qv_sample_data_default} CACHE PATH "Folder of the real sample files")
endif()
