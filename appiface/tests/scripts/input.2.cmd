SptCommand Method InputLine
SptCommand Method Output "[a line]\r\n"
SptCommand Method InputChar
SptCommand Method Output "90\r\n"
