SptCommand Method Show "names.zub", "names.zub", "Trevane 1.0.0"
