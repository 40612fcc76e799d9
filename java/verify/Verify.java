// The launcher's verification class: a candidate JVM is only accepted after
// it has really run this class. It prints the magic line, then the value of
// each system property named on the command line, one per line ("null" when
// the property is not set).
public class Verify {
    public static void main(String[] args) {
        StringBuilder out = new StringBuilder("1739021872\n");
        for (String name : args) {
            out.append(System.getProperty(name)).append('\n');
        }
        System.out.print(out);
        System.out.flush();
    }
}
