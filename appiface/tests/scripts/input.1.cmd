SptCommand Method Output "[]\r\n"
SptCommand Method Output "0\r\n"
