tindra_add_fuzzer(ini runtime)
