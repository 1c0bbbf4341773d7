SptCommand Method InputChar
